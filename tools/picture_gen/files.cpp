// Encoders and the text helper of the picture generator.
#include "tools/picture_gen/files.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <fstream>
#include <memory>

namespace pictures {

namespace gp = Gdiplus::DllExports;

namespace {

// {1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}: the JPEG quality parameter of the GDI+ encoder.
constexpr GUID kEncoderQuality = {
    0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

struct ReleaseDeleter {
    void operator()(IUnknown* p) const { p->Release(); }
};
struct BitmapDeleter {
    void operator()(Gdiplus::GpBitmap* b) const { gp::GdipDisposeImage(b); }
};

std::string StreamBytes(IStream* stream) {
    ULARGE_INTEGER end{};
    if (FAILED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_END, &end))) return {};
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    std::string bytes(size_t(end.QuadPart), '\0');
    ULONG read = 0;
    if (FAILED(stream->Read(bytes.data(), ULONG(bytes.size()), &read)) || read != bytes.size()) return {};
    return bytes;
}

bool EncoderClsid(const wchar_t* mime, CLSID* clsid) {
    UINT count = 0, size = 0;
    if (gp::GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (gp::GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i)
        if (std::wcscmp(codecs[i].MimeType, mime) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}

std::string SaveToBytes(Gdiplus::GpBitmap* bitmap, const wchar_t* mime,
                        const Gdiplus::EncoderParameters* params) {
    CLSID clsid;
    if (!EncoderClsid(mime, &clsid)) return {};
    IStream* raw = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &raw))) return {};
    std::unique_ptr<IStream, ReleaseDeleter> stream(raw);
    if (gp::GdipSaveImageToStream(bitmap, raw, &clsid, params) != Gdiplus::Ok) return {};
    return StreamBytes(raw);
}

template <class T>
void Put(std::string& out, T value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

GdiplusSession::~GdiplusSession() {
    if (token_) Gdiplus::GdiplusShutdown(ULONG_PTR(token_));
}

std::string EncodePng(const Canvas& canvas) {
    std::vector<uint8_t> bgra = canvas.Bgra();
    Gdiplus::GpBitmap* raw = nullptr;
    if (gp::GdipCreateBitmapFromScan0(canvas.width(), canvas.height(), canvas.width() * 4,
                                      PixelFormat32bppARGB, bgra.data(), &raw) != Gdiplus::Ok)
        return {};
    std::unique_ptr<Gdiplus::GpBitmap, BitmapDeleter> bitmap(raw);
    return SaveToBytes(raw, L"image/png", nullptr);
}

// Wine's GDI+ (and WIC) JPEG encoder ignores the quality and writes libjpeg's default, 75;
// Windows honours it.
std::string EncodeJpeg(const Canvas& canvas, int quality) {
    const std::vector<uint8_t> bgra = canvas.Bgra();
    const int stride = (canvas.width() * 3 + 3) & ~3;
    std::vector<uint8_t> bgr(size_t(stride) * canvas.height());
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            std::memcpy(&bgr[size_t(y) * stride + x * 3], &bgra[(size_t(y) * canvas.width() + x) * 4], 3);
    Gdiplus::GpBitmap* raw = nullptr;
    if (gp::GdipCreateBitmapFromScan0(canvas.width(), canvas.height(), stride, PixelFormat24bppRGB,
                                      bgr.data(), &raw) != Gdiplus::Ok)
        return {};
    std::unique_ptr<Gdiplus::GpBitmap, BitmapDeleter> bitmap(raw);
    ULONG value = ULONG(quality);
    Gdiplus::EncoderParameters params;
    params.Count = 1;
    params.Parameter[0].Guid = kEncoderQuality;
    params.Parameter[0].NumberOfValues = 1;
    params.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    params.Parameter[0].Value = &value;
    return SaveToBytes(raw, L"image/jpeg", &params);
}

std::string EncodeBmp24(const Canvas& canvas) {
    const int w = canvas.width(), h = canvas.height();
    const int stride = (w * 3 + 3) & ~3;
    const std::vector<uint8_t> bgra = canvas.Bgra();
    std::string out;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = DWORD(file.bfOffBits + size_t(stride) * h);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;  // bottom-up rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = DWORD(size_t(stride) * h);
    Put(out, file);
    Put(out, info);
    for (int y = h - 1; y >= 0; --y) {
        std::string row(size_t(stride), '\0');
        for (int x = 0; x < w; ++x) std::memcpy(&row[size_t(x) * 3], &bgra[(size_t(y) * w + x) * 4], 3);
        out += row;
    }
    return out;
}

std::string EncodeIco(const std::vector<const Canvas*>& images) {
    std::vector<std::string> bodies;
    for (const Canvas* image : images) {
        const int w = image->width(), h = image->height();
        const int maskStride = ((w + 31) / 32) * 4;
        const std::vector<uint8_t> bgra = image->Bgra();
        std::string body;
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = w;
        info.biHeight = h * 2;  // colour image and AND mask, stacked
        info.biPlanes = 1;
        info.biBitCount = 32;
        info.biCompression = BI_RGB;
        info.biSizeImage = DWORD(size_t(w) * h * 4 + size_t(maskStride) * h);
        Put(body, info);
        for (int y = h - 1; y >= 0; --y)
            body.append(reinterpret_cast<const char*>(&bgra[size_t(y) * w * 4]), size_t(w) * 4);
        for (int y = h - 1; y >= 0; --y) {
            std::string row(size_t(maskStride), '\0');
            for (int x = 0; x < w; ++x)
                if (bgra[(size_t(y) * w + x) * 4 + 3] == 0) row[size_t(x / 8)] |= char(0x80 >> (x % 8));
            body += row;
        }
        bodies.push_back(std::move(body));
    }
    std::string out;
    Put(out, uint16_t(0));  // reserved
    Put(out, uint16_t(1));  // type: icon
    Put(out, uint16_t(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        Put(out, uint8_t(images[i]->width() >= 256 ? 0 : images[i]->width()));
        Put(out, uint8_t(images[i]->height() >= 256 ? 0 : images[i]->height()));
        Put(out, uint8_t(0));    // colour count
        Put(out, uint8_t(0));    // reserved
        Put(out, uint16_t(1));   // planes
        Put(out, uint16_t(32));  // bits per pixel
        Put(out, uint32_t(bodies[i].size()));
        Put(out, offset);
        offset += uint32_t(bodies[i].size());
    }
    for (const std::string& body : bodies) out += body;
    return out;
}

// The text is drawn white on black into a DIB; its grey levels are the coverage.
int DrawLabel(Canvas& canvas, int x, int y, const std::wstring& text, const wchar_t* face, int pixelHeight,
              bool bold, Rgba colour) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HFONT font =
        ::CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, face);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    const int w = size.cx + 4, h = size.cy + 2;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = ::SelectObject(dc, dib);
    std::memset(bits, 0, size_t(w) * h * 4);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::TextOutW(dc, 0, 0, text.c_str(), int(text.size()));
    ::GdiFlush();
    const auto* p = static_cast<const uint8_t*>(bits);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const uint8_t* q = &p[(size_t(j) * w + i) * 4];
            const float cover = (q[0] + q[1] + q[2]) / (3 * 255.0f);
            if (cover > 0.0f) canvas.Blend(x + i, y + j, colour, cover);
        }
    ::SelectObject(dc, oldBitmap);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(dib);
    ::DeleteObject(font);
    ::DeleteDC(dc);
    return size.cx;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

}  // namespace pictures
