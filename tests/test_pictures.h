// Small picture files made in memory, so that every size and pixel of a test picture is known.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace test {

// An uncompressed bottom-up 24-bit BMP file whose pixel (x, y) has the colour `pixel(x, y)`.
inline std::string MakeBmp(int width, int height, const std::function<COLORREF(int, int)>& pixel) {
    auto put32 = [](std::string& s, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string bmp(54 + static_cast<size_t>(stride) * height, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(bmp, 2, static_cast<uint32_t>(bmp.size()));
    put32(bmp, 10, 54);
    put32(bmp, 14, 40);
    put32(bmp, 18, static_cast<uint32_t>(width));
    put32(bmp, 22, static_cast<uint32_t>(height));
    bmp[26] = 1;
    bmp[28] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            const size_t at = 54 + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
            bmp[at] = static_cast<char>(GetBValue(c));
            bmp[at + 1] = static_cast<char>(GetGValue(c));
            bmp[at + 2] = static_cast<char>(GetRValue(c));
        }
    }
    return bmp;
}

inline std::string SolidBmp(int width, int height, COLORREF colour) {
    return MakeBmp(width, height, [colour](int, int) { return colour; });
}

}  // namespace test
