// The icon directory and BMP header checks: whatever they accept lies wholly inside the bytes (the
// harness reads the first and last byte of it, where AddressSanitizer watches), with sane sizes.
#include <cstring>
#include <vector>

#include "fuzz/check.h"
#include "skin/image_bounds.h"

using namespace skin;

namespace {

volatile unsigned char sink;

void Touch(std::string_view bytes, std::size_t offset, std::size_t size) {
    CHECK(size > 0 && offset <= bytes.size() && size <= bytes.size() - offset);
    sink = static_cast<unsigned char>(bytes[offset]);
    sink = static_cast<unsigned char>(bytes[offset + size - 1]);
}

uint32_t Le16(std::string_view b, std::size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that a read one byte past the end is caught.
    std::vector<char> copy(data, data + size);
    const std::string_view bytes(copy.data(), copy.size());

    const int declared = bytes.size() >= 6 ? static_cast<int>(Le16(bytes, 4)) : 0;
    for (int entry = -1; entry <= declared + 1 && entry < 64; ++entry) {
        const std::optional<IconImageSpan> span = IconEntrySpan(bytes, entry);
        const std::optional<IconImageSpan> again = IconEntrySpan(bytes, entry);
        CHECK(span.has_value() == again.has_value());
        if (!span) continue;
        CHECK(entry >= 0 && 6 + 16 * static_cast<std::size_t>(entry) + 16 <= bytes.size());
        CHECK(span->offset == again->offset && span->size == again->size);
        CHECK(span->width >= 0 && span->width <= 255 && span->height >= 0 && span->height <= 255);
        Touch(bytes, span->offset, span->size);
    }

    const std::optional<BmpPixelSpan> bmp = BmpPixelSpanOf(bytes);
    CHECK(bmp.has_value() == BmpPixelSpanOf(bytes).has_value());
    if (bmp) {
        CHECK(bmp->width > 0 && bmp->height != 0 && (bmp->bitsPerPixel == 24 || bmp->bitsPerPixel == 32));
        const uint64_t rows = bmp->height < 0 ? 0 - static_cast<int64_t>(bmp->height) : bmp->height;
        const uint64_t stride = (static_cast<uint64_t>(bmp->width) * bmp->bitsPerPixel + 31) / 32 * 4;
        CHECK(bmp->pixelBytes == stride * rows && stride >= static_cast<uint64_t>(bmp->width) * 3);
        Touch(bytes, kBmpPixelOffset, bmp->pixelBytes);
    }
    return 0;
}
