#include "skin/image_bounds.h"

namespace skin {

namespace {

constexpr std::size_t kIconHeaderBytes = 6;
constexpr std::size_t kIconEntryBytes = 16;

uint32_t Le16(std::string_view b, std::size_t at) {
    return static_cast<uint8_t>(b[at]) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8);
}
uint32_t Le32(std::string_view b, std::size_t at) { return Le16(b, at) | (Le16(b, at + 2) << 16); }

}  // namespace

std::optional<IconImageSpan> IconEntrySpan(std::string_view bytes, int entry) {
    if (entry < 0) return std::nullopt;
    const uint64_t entryOffset = kIconHeaderBytes + kIconEntryBytes * static_cast<uint64_t>(entry);
    if (entryOffset + kIconEntryBytes > bytes.size()) return std::nullopt;
    const std::size_t dir = static_cast<std::size_t>(entryOffset);
    const uint32_t dataSize = Le32(bytes, dir + 8);
    const uint32_t dataOffset = Le32(bytes, dir + 12);
    // The image data the entry points at must lie inside the bytes too: a damaged or hostile icon
    // file must not make the system read past them.
    if (dataSize == 0 || static_cast<uint64_t>(dataOffset) + dataSize > bytes.size()) return std::nullopt;
    return IconImageSpan{dataOffset, dataSize, static_cast<uint8_t>(bytes[dir]),
                         static_cast<uint8_t>(bytes[dir + 1])};
}

std::optional<BmpPixelSpan> BmpPixelSpanOf(std::string_view bytes) {
    if (bytes.size() < kBmpPixelOffset) return std::nullopt;
    const std::size_t h = kBmpFileHeaderBytes;
    const uint32_t headerSize = Le32(bytes, h);
    const int32_t width = static_cast<int32_t>(Le32(bytes, h + 4));
    const int32_t height = static_cast<int32_t>(Le32(bytes, h + 8));
    const uint32_t planes = Le16(bytes, h + 12), bits = Le16(bytes, h + 14),
                   compression = Le32(bytes, h + 16);
    // The pixels are read from right after a plain 40-byte header, so only that layout (no
    // palette, no compression) is taken.
    if (headerSize != kBmpInfoHeaderBytes || planes != 1 || compression != 0 || (bits != 24 && bits != 32) ||
        width <= 0 || height == 0)
        return std::nullopt;
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    const uint64_t rows = height < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(height)) : height;
    // Each factor is held to the byte count first, so the product cannot overflow.
    if (rows > bytes.size() || stride > bytes.size() || stride * rows > bytes.size() - kBmpPixelOffset)
        return std::nullopt;
    return BmpPixelSpan{width, height, static_cast<int>(bits), static_cast<std::size_t>(stride * rows)};
}

}  // namespace skin
