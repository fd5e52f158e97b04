// Bounds checks of the built-in icon and bitmap files, made before any byte goes to the system:
// where an icon's image and a BMP's pixels lie in the file. Pure code (no platform headers), so it
// also builds natively for fuzzing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace skin {

// Where the image of one icon directory entry lies, and the size its entry declares (a byte each:
// 0 stands for 256).
struct IconImageSpan {
    std::size_t offset = 0;
    std::size_t size = 0;
    int width = 0;
    int height = 0;
};

// Entry `entry` (from 0) of an .ico file: nothing when the entry or its image data do not lie
// wholly inside the bytes, or the image is empty.
std::optional<IconImageSpan> IconEntrySpan(std::string_view bytes, int entry);

// The layout BitmapFromBmpBytes takes: a 14-byte file header, a plain 40-byte info header (one
// plane, no compression, 24 or 32 bits a pixel, no palette) and the pixel rows right after it.
constexpr std::size_t kBmpFileHeaderBytes = 14;
constexpr std::size_t kBmpInfoHeaderBytes = 40;
constexpr std::size_t kBmpPixelOffset = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;

struct BmpPixelSpan {
    int32_t width = 0;           // > 0
    int32_t height = 0;          // != 0; negative: rows top-down
    int bitsPerPixel = 0;        // 24 or 32
    std::size_t pixelBytes = 0;  // rows x stride (rows padded to 4 bytes), from kBmpPixelOffset
};

// Nothing when the bytes are too short for the headers or for the pixel rows the header describes,
// or the header is not of that layout.
std::optional<BmpPixelSpan> BmpPixelSpanOf(std::string_view bytes);

}  // namespace skin
