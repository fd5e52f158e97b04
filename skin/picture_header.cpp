#include "skin/picture_header.h"

namespace skin {

namespace {

uint32_t Be16(std::string_view b, size_t at) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(b[at])) << 8) | static_cast<uint8_t>(b[at + 1]);
}
uint32_t Be32(std::string_view b, size_t at) { return (Be16(b, at) << 16) | Be16(b, at + 2); }
uint32_t Le16(std::string_view b, size_t at) {
    return static_cast<uint8_t>(b[at]) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8);
}
uint32_t Le32(std::string_view b, size_t at) { return Le16(b, at) | (Le16(b, at + 2) << 16); }

bool StartsWith(std::string_view b, std::string_view magic) { return b.substr(0, magic.size()) == magic; }

std::optional<PictureSize> Png(std::string_view b) {
    // Signature, then the IHDR chunk: length, "IHDR", width, height (big-endian).
    if (b.size() < 24 || b.substr(12, 4) != "IHDR") return std::nullopt;
    return PictureSize{Be32(b, 16), Be32(b, 20)};
}

std::optional<PictureSize> Gif(std::string_view b) {
    if (b.size() < 10) return std::nullopt;
    return PictureSize{Le16(b, 6), Le16(b, 8)};
}

std::optional<PictureSize> Bmp(std::string_view b) {
    if (b.size() < 26) return std::nullopt;
    const uint32_t headerSize = Le32(b, 14);
    if (headerSize == 12) return PictureSize{Le16(b, 18), Le16(b, 20)};  // OS/2 core header
    if (b.size() < 26 || headerSize < 40) return std::nullopt;
    const int32_t height = static_cast<int32_t>(Le32(b, 22));  // negative: top-down rows
    const int32_t width = static_cast<int32_t>(Le32(b, 18));
    auto magnitude = [](int32_t v) {
        return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    };
    return PictureSize{magnitude(width), magnitude(height)};
}

// Walks the JPEG markers to the first start-of-frame segment, which holds height and width.
std::optional<PictureSize> Jpeg(std::string_view b) {
    size_t at = 2;
    while (at + 4 <= b.size()) {
        if (static_cast<uint8_t>(b[at]) != 0xFF) return std::nullopt;
        const uint8_t marker = static_cast<uint8_t>(b[at + 1]);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        const uint32_t length = Be16(b, at + 2);
        const bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (at + 9 > b.size()) return std::nullopt;
            return PictureSize{Be16(b, at + 7), Be16(b, at + 5)};
        }
        if (length < 2) return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

// TIFF: the first image file directory's ImageWidth (256) and ImageLength (257) tags.
std::optional<PictureSize> Tiff(std::string_view b) {
    if (b.size() < 8) return std::nullopt;
    const bool little = b[0] == 'I';
    auto u16 = [&](size_t at) { return little ? Le16(b, at) : Be16(b, at); };
    auto u32 = [&](size_t at) { return little ? Le32(b, at) : Be32(b, at); };
    const uint32_t ifd = u32(4);
    if (ifd > b.size() || b.size() - ifd < 2) return std::nullopt;
    const uint32_t count = u16(ifd);
    PictureSize size;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = ifd + 2 + static_cast<size_t>(i) * 12;
        if (entry + 12 > b.size()) return std::nullopt;
        const uint32_t tag = u16(entry), type = u16(entry + 2);
        const uint32_t value = type == 3 ? u16(entry + 8) : u32(entry + 8);
        if (tag == 256) size.width = value;
        if (tag == 257) size.height = value;
    }
    if (!size.width || !size.height) return std::nullopt;
    return size;
}

}  // namespace

bool IsMetafile(std::string_view b) {
    const bool emf = b.size() >= 44 && Le32(b, 0) == 1 && b.substr(40, 4) == " EMF";
    const bool placeable = b.size() >= 4 && Le32(b, 0) == 0x9AC6CDD7;
    const bool wmf = b.size() >= 6 && (Le16(b, 0) == 1 || Le16(b, 0) == 2) && Le16(b, 2) == 9 &&
                     (Le16(b, 4) == 0x0100 || Le16(b, 4) == 0x0300);
    return emf || placeable || wmf;
}

std::optional<PictureSize> DeclaredPictureSize(std::string_view b) {
    if (StartsWith(b, "\x89PNG\r\n\x1a\n")) return Png(b);
    if (StartsWith(b, "\xFF\xD8")) return Jpeg(b);
    if (StartsWith(b, "GIF87a") || StartsWith(b, "GIF89a")) return Gif(b);
    if (StartsWith(b, "BM")) return Bmp(b);
    if (StartsWith(b, std::string_view("II*\0", 4)) || StartsWith(b, std::string_view("MM\0*", 4)))
        return Tiff(b);
    return std::nullopt;
}

bool PictureWithinLimits(std::string_view bytes) {
    if (IsMetafile(bytes)) return false;
    const bool knownFormat = StartsWith(bytes, "\x89PNG") || StartsWith(bytes, "\xFF\xD8") ||
                             StartsWith(bytes, "GIF8") || StartsWith(bytes, "BM") ||
                             StartsWith(bytes, std::string_view("II*\0", 4)) ||
                             StartsWith(bytes, std::string_view("MM\0*", 4));
    const std::optional<PictureSize> size = DeclaredPictureSize(bytes);
    if (!size) return !knownFormat;  // a known format whose size cannot be read is damaged
    return static_cast<uint64_t>(size->width) * size->height <= kMaxPicturePixels;
}

}  // namespace skin
