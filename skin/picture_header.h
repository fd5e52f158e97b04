// Reads a picture's pixel dimensions from the first bytes of its file, without decoding it, so
// that a picture too large to decode safely is refused before the decoder allocates anything.
// Pure code: no platform headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace skin {

struct PictureSize {
    uint32_t width = 0;
    uint32_t height = 0;
};

// The dimensions that a PNG, JPEG, GIF, BMP or TIFF file declares; nothing when the bytes are
// none of these or too short to say.
std::optional<PictureSize> DeclaredPictureSize(std::string_view bytes);

// The largest picture the engine decodes: 16,777,216 pixels (4096 x 4096), 64 MiB as 32-bit pixels.
constexpr uint64_t kMaxPicturePixels = 16u * 1024u * 1024u;

// An enhanced or Windows metafile (placeable or not): a list of drawing records that the system
// plays when the picture is drawn. A damaged record can make the player read past its data and
// crash the process (seen with Wine's), so the engine takes no metafile as a skin picture.
bool IsMetafile(std::string_view bytes);

// Whether the engine may hand these bytes to the decoder: a known raster format within the pixel
// cap, or a format whose size cannot be read here (the decoder then decides); never a metafile.
bool PictureWithinLimits(std::string_view bytes);

}  // namespace skin
