// File formats of the built-in pictures: PNG and JPEG through the GDI+ encoders, BMP and ICO
// written here byte by byte so that their layout is exactly what the program's readers expect.
#pragma once

#include <string>
#include <vector>

#include "tools/picture_gen/canvas.h"

namespace pictures {

// Starts and ends GDI+ around the generator's work.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool ok() const { return token_ != 0; }

private:
    unsigned long long token_ = 0;
};

// An RGBA PNG of the canvas; empty on failure.
std::string EncodePng(const Canvas& canvas);
// A baseline JPEG of the canvas (opaque, 3 components) at `quality` 0 to 100; empty on failure.
std::string EncodeJpeg(const Canvas& canvas, int quality);
// A 24-bit uncompressed BMP file, pixel data at offset 54; alpha is ignored.
std::string EncodeBmp24(const Canvas& canvas);
// An icon file with one 32-bit entry per canvas, in the given order: BITMAPINFOHEADER images
// (height doubled) with straight alpha and an AND mask set where alpha is 0.
std::string EncodeIco(const std::vector<const Canvas*>& images);

// Draws `text` with a system font in `colour` (grayscale antialiased) with the text's top-left
// corner at (x, y); returns the width of the text in pixels.
int DrawLabel(Canvas& canvas, int x, int y, const std::wstring& text, const wchar_t* face, int pixelHeight,
              bool bold, Rgba colour);

bool WriteFile(const std::string& path, const std::string& bytes);

}  // namespace pictures
