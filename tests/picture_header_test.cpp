// Picture dimensions read from file headers, and the size cap applied before decoding.
#include "skin/picture_header.h"

#include <gtest/gtest.h>

#include <string>

namespace skin {
namespace {

std::string Be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}
std::string Le16(uint32_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

std::string Png(uint32_t w, uint32_t h) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(w) + Be32(h) +
           std::string("\x08\x06\0\0\0", 5);
}
std::string Gif(uint32_t w, uint32_t h) { return "GIF89a" + Le16(w) + Le16(h) + std::string(4, '\0'); }
std::string Bmp(int32_t w, int32_t h) {
    return "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(static_cast<uint32_t>(w)) +
           Le32(static_cast<uint32_t>(h)) + std::string(28, '\0');
}
std::string Jpeg(uint32_t w, uint32_t h) {
    // SOI, an APP0 segment to skip, then SOF0 with precision, height, width.
    return std::string("\xFF\xD8\xFF\xE0\x00\x06JFIF", 10) + std::string("\xFF\xC0\x00\x11\x08", 5) +
           static_cast<char>(h >> 8) + static_cast<char>(h) + static_cast<char>(w >> 8) +
           static_cast<char>(w) + std::string(12, '\0');
}
std::string Tiff(uint32_t w, uint32_t h) {
    return std::string("II*\0", 4) + Le32(8) + Le16(2) + Le16(256) + Le16(4) + Le32(1) + Le32(w) + Le16(257) +
           Le16(4) + Le32(1) + Le32(h);
}

TEST(PictureHeader, ReadsTheDeclaredSizeOfEachFormat) {
    const struct {
        std::string bytes;
        uint32_t w, h;
    } cases[] = {
        {Png(388, 401), 388, 401}, {Gif(20, 30), 20, 30},      {Bmp(160, 55), 160, 55},
        {Bmp(7, -9), 7, 9},        {Jpeg(640, 480), 640, 480}, {Tiff(5000, 4000), 5000, 4000},
    };
    for (const auto& c : cases) {
        const auto size = DeclaredPictureSize(c.bytes);
        ASSERT_TRUE(size) << c.w;
        EXPECT_EQ(size->width, c.w);
        EXPECT_EQ(size->height, c.h);
    }
    for (const std::string& bad : {std::string(), std::string("\x89PNG"), std::string("text, not a picture"),
                                   Png(1, 1).substr(0, 20), std::string("\xFF\xD8\xFF\xE0\x00\x01", 6)}) {
        EXPECT_FALSE(DeclaredPictureSize(bad)) << bad.size();
    }
}

TEST(PictureHeader, RefusesPicturesOverTheCapBeforeDecoding) {
    const struct {
        std::string bytes;
        bool ok;
        const char* why;
    } cases[] = {
        {Png(4096, 4096), true, "exactly at the cap"},
        {Png(4097, 4096), false, "one column over"},
        {Png(20000, 20000), false, "decompression bomb"},
        {Jpeg(65535, 65535), false, "largest JPEG"},
        {Bmp(100000, -100000), false, "top-down BMP"},
        {Tiff(70000, 70000), false, "TIFF"},
        {Png(1, 1).substr(0, 20), false, "a PNG too short to say its size is damaged"},
        {"not a picture", true, "unknown bytes: the decoder refuses them itself"},
    };
    for (const auto& c : cases) EXPECT_EQ(PictureWithinLimits(c.bytes), c.ok) << c.why;
}

}  // namespace
}  // namespace skin
