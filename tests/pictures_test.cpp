// The built-in pictures as the program embeds them: file formats, sizes, icon entries and the
// pixels that the frame renderer and control skinning cut out of the two sheets.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resource_ids.h"
#include "runtime/embedded.h"

namespace {

namespace gp = Gdiplus::DllExports;

// A picture decoded by GDI+ from a stream over a copy of the embedded bytes; the stream lives
// as long as the bitmap, which reads through it.
class Decoded {
public:
    explicit Decoded(std::string_view bytes) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!memory) return;
        std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
        ::GlobalUnlock(memory);
        if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream_))) {
            ::GlobalFree(memory);
            return;
        }
        gp::GdipCreateBitmapFromStream(stream_, &bitmap_);
    }
    ~Decoded() {
        if (bitmap_) gp::GdipDisposeImage(bitmap_);
        if (stream_) stream_->Release();
    }
    Decoded(const Decoded&) = delete;
    Decoded& operator=(const Decoded&) = delete;

    bool ok() const { return bitmap_ != nullptr; }
    UINT Width() const {
        UINT w = 0;
        gp::GdipGetImageWidth(bitmap_, &w);
        return w;
    }
    UINT Height() const {
        UINT h = 0;
        gp::GdipGetImageHeight(bitmap_, &h);
        return h;
    }
    GUID RawFormat() const {
        GUID g{};
        gp::GdipGetImageRawFormat(bitmap_, &g);
        return g;
    }
    Gdiplus::ARGB Pixel(int x, int y) const {
        Gdiplus::ARGB c = 0;
        gp::GdipBitmapGetPixel(bitmap_, x, y, &c);
        return c;
    }

private:
    IStream* stream_ = nullptr;
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

int A(Gdiplus::ARGB c) { return int(c >> 24); }
int R(Gdiplus::ARGB c) { return int(c >> 16 & 0xFF); }
int G(Gdiplus::ARGB c) { return int(c >> 8 & 0xFF); }
int B(Gdiplus::ARGB c) { return int(c & 0xFF); }
bool Near(Gdiplus::ARGB c, int r, int g, int b, int tolerance = 2) {
    return std::abs(R(c) - r) <= tolerance && std::abs(G(c) - g) <= tolerance &&
           std::abs(B(c) - b) <= tolerance;
}
bool Magenta(Gdiplus::ARGB c) { return R(c) == 255 && G(c) == 0 && B(c) == 255; }

template <class T>
T Read(std::string_view bytes, size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// {B96B3CAF-0728-11D3-9D7B-0000F81EF32E} and its siblings: GDI+'s file-format identifiers.
constexpr GUID FormatGuid(unsigned long first) {
    return {first, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
}
constexpr GUID kFormatBmp = FormatGuid(0xb96b3cab), kFormatJpeg = FormatGuid(0xb96b3cae),
               kFormatPng = FormatGuid(0xb96b3caf);

class Pictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token_); }
    static ULONG_PTR token_;
};
ULONG_PTR Pictures::token_ = 0;

TEST_F(Pictures, SheetsAndSkinDecodeWithTheirFormatAndSize) {
    const struct {
        int id;
        std::string_view signature;
        GUID format;
        UINT width, height;
    } cases[] = {
        {IDR_ELEMENT_SHEET, std::string_view("\x89PNG\r\n\x1a\n", 8), kFormatPng, 205, 260},
        {IDR_CONTROL_SHEET, "BM", kFormatBmp, 160, 55},
        {IDR_DEFAULT_SKIN, "\xFF\xD8\xFF", kFormatJpeg, 388, 401},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const std::string_view bytes = runtime::EmbeddedBytes(c.id);
        ASSERT_GT(bytes.size(), c.signature.size());
        EXPECT_EQ(bytes.substr(0, c.signature.size()), c.signature);
        const Decoded picture(bytes);
        ASSERT_TRUE(picture.ok());
        EXPECT_TRUE(IsEqualGUID(picture.RawFormat(), c.format));
        EXPECT_EQ(picture.Width(), c.width);
        EXPECT_EQ(picture.Height(), c.height);
    }
}

TEST_F(Pictures, ElementSheetPngIsRgbaWithEightBitChannels) {
    const std::string_view png = runtime::EmbeddedBytes(IDR_ELEMENT_SHEET);
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(png[24], 8);  // bit depth
    EXPECT_EQ(png[25], 6);  // colour type: truecolour with alpha
}

TEST_F(Pictures, ControlSheetIsUncompressed24BitWithPixelsAtOffset54) {
    const std::string_view bmp = runtime::EmbeddedBytes(IDR_CONTROL_SHEET);
    EXPECT_EQ(Read<uint32_t>(bmp, 10), 54u);  // bfOffBits
    EXPECT_EQ(Read<uint32_t>(bmp, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(Read<int32_t>(bmp, 18), 160);
    EXPECT_EQ(std::abs(Read<int32_t>(bmp, 22)), 55);
    EXPECT_EQ(Read<uint16_t>(bmp, 28), 24);  // bits per pixel
    EXPECT_EQ(Read<uint32_t>(bmp, 30), uint32_t(BI_RGB));
    EXPECT_EQ(bmp.size(), 54u + 160 * 3 * 55);
}

// Walks the JPEG markers up to the scan: a baseline frame (SOF0), 8-bit, 388 x 401, 3 components.
TEST_F(Pictures, DefaultSkinIsBaselineJpegWithThreeComponents) {
    const std::string_view jpeg = runtime::EmbeddedBytes(IDR_DEFAULT_SKIN);
    size_t at = 2;
    int frameMarker = 0;
    size_t frame = 0;
    while (at + 4 <= jpeg.size() && uint8_t(jpeg[at]) == 0xFF) {
        const int marker = uint8_t(jpeg[at + 1]);
        if (marker == 0xDA) break;  // start of scan
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            frameMarker = marker;
            frame = at + 4;
        }
        at += 2 + (uint8_t(jpeg[at + 2]) << 8 | uint8_t(jpeg[at + 3]));
    }
    ASSERT_EQ(frameMarker, 0xC0);
    EXPECT_EQ(uint8_t(jpeg[frame]), 8);
    EXPECT_EQ(uint8_t(jpeg[frame + 1]) << 8 | uint8_t(jpeg[frame + 2]), 401);
    EXPECT_EQ(uint8_t(jpeg[frame + 3]) << 8 | uint8_t(jpeg[frame + 4]), 388);
    EXPECT_EQ(uint8_t(jpeg[frame + 5]), 3);
}

// A light picture in pale blue-green: bright on average, green and blue above red.
TEST_F(Pictures, DefaultSkinIsLightAndBlueGreen) {
    const Decoded skin(runtime::EmbeddedBytes(IDR_DEFAULT_SKIN));
    ASSERT_TRUE(skin.ok());
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < 401; y += 4)
        for (int x = 0; x < 388; x += 4, ++n) {
            const Gdiplus::ARGB c = skin.Pixel(x, y);
            EXPECT_EQ(A(c), 255);
            r += R(c), g += G(c), b += B(c);
        }
    r /= n, g /= n, b /= n;
    EXPECT_GT((r + g + b) / 3, 170);
    EXPECT_GT(g, r + 20);
    EXPECT_GT(b, r + 20);
}

// Icon files: the directory, each entry's 32-bit header with doubled height, and an icon that
// the system builds from the entry at its size.
TEST_F(Pictures, IconFilesHoldThe32BitEntriesInOrder) {
    const struct {
        int id;
        std::vector<int> sizes;
    } cases[] = {
        {IDR_DOCUMENT_ICON, {32}},
        {IDR_TOOLBOX_ICON, {64, 48, 32, 24, 16}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const std::string_view ico = runtime::EmbeddedBytes(c.id);
        ASSERT_EQ(Read<uint16_t>(ico, 0), 0);
        ASSERT_EQ(Read<uint16_t>(ico, 2), 1);
        ASSERT_EQ(Read<uint16_t>(ico, 4), c.sizes.size());
        for (size_t i = 0; i < c.sizes.size(); ++i) {
            const int n = c.sizes[i];
            SCOPED_TRACE(n);
            const size_t entry = 6 + 16 * i;
            EXPECT_EQ(Read<uint8_t>(ico, entry), n);
            EXPECT_EQ(Read<uint8_t>(ico, entry + 1), n);
            EXPECT_EQ(Read<uint16_t>(ico, entry + 6), 32);
            const uint32_t size = Read<uint32_t>(ico, entry + 8), offset = Read<uint32_t>(ico, entry + 12);
            ASSERT_LE(size_t(offset) + size, ico.size());
            EXPECT_EQ(Read<uint32_t>(ico, offset), 40u);
            EXPECT_EQ(Read<int32_t>(ico, offset + 4), n);
            EXPECT_EQ(Read<int32_t>(ico, offset + 8), 2 * n);
            EXPECT_EQ(Read<uint16_t>(ico, offset + 14), 32);
            EXPECT_EQ(size, 40u + n * n * 4 + ((n + 31) / 32) * 4 * n);
            auto* data = reinterpret_cast<PBYTE>(const_cast<char*>(ico.data() + offset));
            HICON icon = ::CreateIconFromResourceEx(data, size, TRUE, 0x00030000, n, n, LR_DEFAULTCOLOR);
            ASSERT_NE(icon, nullptr);
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(icon, &info));
            BITMAP bm{};
            ::GetObjectA(info.hbmColor, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, n);
            EXPECT_EQ(bm.bmHeight, n);
            ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
            ::DestroyIcon(icon);
        }
    }
}

// The exe's own icon group is the toolbox icon, with its sizes for the shell to choose from.
TEST_F(Pictures, ExeIconGroupOffersTheToolboxSizes) {
    for (int n : {16, 32, 48}) {
        HANDLE icon =
            ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TOOLBOX_APP), IMAGE_ICON, n, n, 0);
        ASSERT_NE(icon, nullptr) << n;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(static_cast<HICON>(icon), &info));
        BITMAP bm{};
        ::GetObjectA(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, n);
        EXPECT_EQ(bm.bmBitsPixel, 32);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(static_cast<HICON>(icon));
    }
}

// One pixel of entry `index` of an icon file, read straight from its bottom-up BGRA rows.
Gdiplus::ARGB IconPixel(std::string_view ico, int index, int x, int y) {
    const uint32_t offset = Read<uint32_t>(ico, 6 + 16 * size_t(index) + 12);
    const int n = Read<int32_t>(ico, offset + 4);
    return Read<uint32_t>(ico, offset + 40 + (size_t(n - 1 - y) * n + x) * 4);
}

TEST_F(Pictures, IconKeyPixels) {
    const std::string_view document = runtime::EmbeddedBytes(IDR_DOCUMENT_ICON);
    const std::string_view toolbox = runtime::EmbeddedBytes(IDR_TOOLBOX_ICON);
    // Document: a white opaque page, clear outside it and beyond the folded corner.
    EXPECT_EQ(A(IconPixel(document, 0, 0, 0)), 0);
    EXPECT_EQ(A(IconPixel(document, 0, 25, 2)), 0);
    EXPECT_EQ(A(IconPixel(document, 0, 15, 16)), 255);
    EXPECT_GT(R(IconPixel(document, 0, 15, 16)), 240);
    EXPECT_EQ(A(IconPixel(document, 0, 6, 16)), 255);  // the page's edge
    EXPECT_LT(R(IconPixel(document, 0, 6, 16)), 170);
    // Toolbox, every size: clear corner, cyan-blue tile near the top, white emblem at the centre
    // of the body.
    const struct {
        int index, n, bodyX, bodyY;
    } sizes[] = {{0, 64, 20, 44}, {1, 48, 15, 33}, {2, 32, 10, 22}, {3, 24, 7, 17}, {4, 16, 4, 11}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(s.n);
        EXPECT_EQ(A(IconPixel(toolbox, s.index, 0, 0)), 0);
        const Gdiplus::ARGB tile = IconPixel(toolbox, s.index, s.n / 2, s.n / 8 + 1);
        EXPECT_EQ(A(tile), 255);
        EXPECT_GT(B(tile), R(tile) + 100);
        EXPECT_GT(G(tile), R(tile) + 60);
        const Gdiplus::ARGB emblem = IconPixel(toolbox, s.index, s.bodyX, s.bodyY);
        EXPECT_EQ(A(emblem), 255);
        EXPECT_TRUE(Near(emblem, 255, 255, 255, 8)) << std::hex << emblem;
    }
}

TEST_F(Pictures, ElementSheetGlossFallsFrom128To0AlikeInEveryColumn) {
    const Decoded sheet(runtime::EmbeddedBytes(IDR_ELEMENT_SHEET));
    ASSERT_TRUE(sheet.ok());
    EXPECT_EQ(A(sheet.Pixel(0, 0)), 128);
    EXPECT_LE(A(sheet.Pixel(0, 89)), 2);
    int previous = 256;
    for (int y = 0; y < 90; ++y) {
        const Gdiplus::ARGB first = sheet.Pixel(0, y);
        EXPECT_TRUE(A(first) == 0 || Near(first, 255, 255, 255, 0)) << "row " << y;
        EXPECT_LE(A(first), previous) << "row " << y;
        previous = A(first);
        for (int x = 1; x < 150; ++x)
            if (sheet.Pixel(x, y) != first) {
                ADD_FAILURE() << "gloss differs at " << x << "," << y;
                return;
            }
    }
}

TEST_F(Pictures, ElementSheetPiecesAtTheirRectangles) {
    const Decoded sheet(runtime::EmbeddedBytes(IDR_ELEMENT_SHEET));
    ASSERT_TRUE(sheet.ok());
    const struct {
        const char* what;
        int x, y, minAlpha, maxAlpha;
    } cases[] = {
        {"status overlay top", 185, 0, 74, 80},
        {"status overlay bottom", 195, 25, 17, 23},
        {"grip top-left is clear", 180, 26, 0, 0},
        {"border outer line", 30, 90, 99, 105},
        {"border left line", 0, 116, 99, 105},
        {"border inside is clear", 30, 116, 0, 0},
        {"border corner outside the curve", 0, 90, 0, 40},
        {"hover frame fill", 90, 116, 30, 110},
        {"pressed frame fill", 150, 116, 60, 160},
        {"right of the gloss is clear", 160, 40, 0, 0},
        {"gap between caption rows", 100, 164, 0, 0},
    };
    for (const auto& c : cases) {
        const int a = A(sheet.Pixel(c.x, c.y));
        EXPECT_GE(a, c.minAlpha) << c.what;
        EXPECT_LE(a, c.maxAlpha) << c.what;
    }
    EXPECT_LT(R(sheet.Pixel(30, 90)), 40) << "the border's outer line is dark";
    EXPECT_GT(R(sheet.Pixel(30, 91)), 200) << "with a white highlight inside it";
    EXPECT_GT(A(sheet.Pixel(150, 116)), A(sheet.Pixel(90, 116))) << "pressed is stronger than hover";
    int darkGripPixels = 0;
    for (int y = 26; y < 38; ++y)
        for (int x = 180; x < 192; ++x)
            darkGripPixels += A(sheet.Pixel(x, y)) > 100 && R(sheet.Pixel(x, y)) < 128;
    EXPECT_GE(darkGripPixels, 10);
}

// Every caption cell holds its glyph; the row's background has the alpha of its state, and the
// close cell of the hover and pressed rows is red with a white cross.
TEST_F(Pictures, CaptionGlyphCellsInEveryState) {
    const Decoded sheet(runtime::EmbeddedBytes(IDR_ELEMENT_SHEET));
    ASSERT_TRUE(sheet.ok());
    const struct { int y, backgroundAlpha; } rows[] = {{145, 0}, {165, 143}, {185, 85}};
    const int columns[] = {0, 27, 54, 81, 108, 135, 162};
    for (const auto& row : rows)
        for (int x : columns) {
            SCOPED_TRACE(testing::Message() << "cell " << x << "," << row.y);
            const bool close = x == 162;
            const int width = close ? 40 : 27;
            const Gdiplus::ARGB background = sheet.Pixel(x + 3, row.y + 1);
            int glyphPixels = 0;
            for (int y = row.y; y < row.y + 19; ++y)
                for (int gx = x + 1; gx < x + width; ++gx) {
                    const Gdiplus::ARGB c = sheet.Pixel(gx, y);
                    const bool redCell = close && row.backgroundAlpha > 0;
                    glyphPixels +=
                        redCell ? Near(c, 255, 255, 255, 10) && A(c) > 200 : A(c) > 200 && R(c) < 128;
                }
            EXPECT_GE(glyphPixels, 7);
            EXPECT_EQ(A(sheet.Pixel(x, row.y + 9)) > 0, true) << "separator";
            if (close && row.backgroundAlpha > 0) {
                EXPECT_GT(R(background), 180);
                EXPECT_LT(G(background), 80);
                EXPECT_GT(A(background), 150);
            } else {
                EXPECT_NEAR(A(background), row.backgroundAlpha, 3);
            }
        }
}

TEST_F(Pictures, ControlSheetCells) {
    const Decoded sheet(runtime::EmbeddedBytes(IDR_CONTROL_SHEET));
    ASSERT_TRUE(sheet.ok());
    // Magenta where the control cells must be transparent.
    const int clear[][2] = {{0, 23},  {159, 24}, {121, 30}, {159, 54}, {0, 25},
                            {14, 39}, {0, 40},   {60, 54},  {105, 25}};
    for (const auto& p : clear) EXPECT_TRUE(Magenta(sheet.Pixel(p[0], p[1]))) << p[0] << "," << p[1];
    // The push-button row is opaque throughout.
    int magentaInButtons = 0;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 160; ++x) magentaInButtons += Magenta(sheet.Pixel(x, y));
    EXPECT_EQ(magentaInButtons, 0);
    const struct {
        const char* what;
        int x, y, r, g, b;
    } colours[] = {
        {"normal outline", 20, 0, 178, 181, 183},        {"normal highlight", 20, 1, 250, 253, 255},
        {"hover outline", 60, 22, 92, 164, 197},         {"hover highlight", 60, 1, 179, 248, 255},
        {"pressed outline", 100, 0, 92, 164, 197},       {"pressed highlight", 100, 1, 1, 203, 254},
        {"disabled outline", 140, 22, 178, 181, 183},    {"pressed shade top", 100, 2, 160, 226, 243},
        {"check box outline", 7, 26, 78, 160, 209},      {"check box inside", 7, 32, 255, 255, 255},
        {"check box hover glow", 22, 25, 133, 228, 255}, {"disabled check outline", 52, 26, 178, 181, 183},
        {"radio outline", 7, 41, 78, 160, 209},          {"radio checked dot", 67, 47, 71, 168, 18},
        {"radio disabled dot", 112, 47, 93, 93, 93},
    };
    for (const auto& c : colours)
        EXPECT_TRUE(Near(sheet.Pixel(c.x, c.y), c.r, c.g, c.b, 6))
            << c.what << ": " << std::hex << sheet.Pixel(c.x, c.y);
    // The checked cells carry a green tick, a grey one when disabled; unchecked ones none.
    auto count = [&](int left, int top, int r, int g, int b) {
        int n = 0;
        for (int y = top; y < top + 15; ++y)
            for (int x = left; x < left + 15; ++x) n += Near(sheet.Pixel(x, y), r, g, b, 12);
        return n;
    };
    EXPECT_GE(count(60, 25, 62, 156, 10), 6);
    EXPECT_GE(count(105, 25, 93, 93, 93), 6);
    EXPECT_EQ(count(0, 25, 62, 156, 10), 0);
    EXPECT_EQ(count(45, 25, 93, 93, 93), 0);
}

}  // namespace
