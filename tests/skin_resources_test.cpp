// Shared drawing resources, the byte-array helpers and the skin picture object.
#include "skin/resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

#include "tests/test_pictures.h"
#include "tests/test_support.h"

namespace {

using namespace skin;

// --- Small pictures made here, so that every pixel and size is known --------------------------

void PutLe16(std::string& s, size_t at, uint16_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}
void PutLe32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The colour of pixel (x, y) in every test picture: COLORREF 0x00BBGGRR.
COLORREF PixelColor(int x, int y) { return RGB(40 * x + 10, 50 * y + 20, 200); }

// An uncompressed bottom-up 24-bit BMP file of the test colours.
std::string MakeBmp(int width, int height) { return test::MakeBmp(width, height, PixelColor); }

// An .ico file with one 16 x 16, 32-bit entry whose image data starts at offset 22.
constexpr int kIconSide = 16;
std::string MakeIco() {
    const uint32_t dataSize = 40 + kIconSide * kIconSide * 4 + kIconSide * 4;  // header, XOR, AND
    std::string ico(22 + dataSize, '\0');
    PutLe16(ico, 2, 1);  // type icon
    PutLe16(ico, 4, 1);  // one entry
    ico[6] = kIconSide;
    ico[7] = kIconSide;
    PutLe16(ico, 10, 1);
    PutLe16(ico, 12, 32);
    PutLe32(ico, 14, dataSize);
    PutLe32(ico, 18, 22);
    PutLe32(ico, 22, 40);
    PutLe32(ico, 26, kIconSide);
    PutLe32(ico, 30, kIconSide * 2);  // XOR and AND bitmaps stacked
    PutLe16(ico, 34, 1);
    PutLe16(ico, 36, 32);
    for (int i = 0; i < kIconSide * kIconSide; ++i) PutLe32(ico, 62 + 4 * i, 0xFF3366CC);
    return ico;
}

class SkinResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SkinModuleStartup(); }
};

// --- Helpers ------------------------------------------------------------------------------------

TEST(ToArgb, WidensColorWithAlpha) {
    const struct {
        uint32_t color;
        uint32_t alpha;
        uint32_t argb;
    } cases[] = {
        {0x00D2B30E, 255, 0xFF0EB3D2},  // start-up skin colour
        {0x00000000, 90, 0x5A000000},   // halo
        {0x000000FF, 128, 0x80FF0000},  // red moves to bits 16-23
        {0x00FF0000, 0, 0x000000FF},    // blue moves to bits 0-7
        {0x0000FF00, 255, 0xFF00FF00},
        {0xFFD2B30E, 255, 0xFF0EB3D2},  // bits above 23 do not reach the result
        {0x12FFFFFF, 150, 0x96FFFFFF},
    };
    for (const auto& c : cases) EXPECT_EQ(ToArgb(c.color, c.alpha), c.argb) << std::hex << c.color;
}

TEST(AnsiToWide, ConvertsTheAnsiCodePage) {
    EXPECT_EQ(AnsiToWide("常用工具"), L"\u5E38\u7528\u5DE5\u5177");
    EXPECT_EQ(AnsiToWide("abc"), L"abc");
    EXPECT_EQ(AnsiToWide(""), L"");
}

TEST_F(SkinResourcesTest, LoadImageFromBytesDecodesOrRefuses) {
    const std::string bmp = MakeBmp(5, 3);
    int width = 0, height = 0;
    GpImagePtr image(LoadImageFromBytes(bmp, &width, &height));
    ASSERT_TRUE(image);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 3);
    EXPECT_TRUE(GpImagePtr(LoadImageFromBytes(bmp)));  // sizes not asked for

    const std::string refused[] = {"", bmp.substr(0, 6), "this is only text, not a picture at all"};
    for (const std::string& bytes : refused) {
        width = height = -7;
        EXPECT_FALSE(GpImagePtr(LoadImageFromBytes(bytes, &width, &height))) << bytes.size() << " bytes";
        EXPECT_EQ(width, -7);
        EXPECT_EQ(height, -7);
    }
}

TEST_F(SkinResourcesTest, IconFromIcoBytesStaysInsideTheBytes) {
    const std::string good = MakeIco();
    int width = 0, height = 0;
    IconPtr icon(IconFromIcoBytes(good, 0, &width, &height));
    ASSERT_TRUE(icon);
    EXPECT_EQ(width, kIconSide);
    EXPECT_EQ(height, kIconSide);
    // The icon shows the entry's own pixels (the system scales it to its icon size).
    MemDcPtr dc(CountGdi(::CreateCompatibleDC(nullptr)));
    WindowDc screen(nullptr);
    BitmapPtr canvas(CountGdi(::CreateCompatibleBitmap(screen.get(), 32, 32)));
    {
        SelectGuard select(dc.get(), canvas.get());
        ASSERT_TRUE(::DrawIconEx(dc.get(), 0, 0, icon.get(), 32, 32, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(::GetPixel(dc.get(), 8, 8), RGB(0x33, 0x66, 0xCC));
    }

    std::string offsetPastEnd = good;
    PutLe32(offsetPastEnd, 18, static_cast<uint32_t>(good.size()));
    std::string hugeSize = good;
    PutLe32(hugeSize, 14, 0xFFFFFFF0);  // offset + size would wrap in 32 bits
    const struct {
        const char* what;
        std::string bytes;
        int entry;
    } refused[] = {
        {"entry beyond the directory", good, 1},
        {"negative entry", good, -1},
        {"header only", good.substr(0, 6), 0},
        {"directory entry cut short", good.substr(0, 21), 0},
        {"image data cut short", good.substr(0, good.size() - 1), 0},
        {"image data past the end", offsetPastEnd, 0},
        {"image size past the end", hugeSize, 0},
    };
    for (const auto& c : refused) {
        IconPtr none(IconFromIcoBytes(c.bytes, c.entry, &width, &height));
        EXPECT_FALSE(none) << c.what;
    }
}

TEST_F(SkinResourcesTest, BitmapFromBmpBytesKeepsEveryPixel) {
    const std::string bmp = MakeBmp(3, 2);
    BitmapPtr bitmap(CountGdi(BitmapFromBmpBytes(bmp)));
    ASSERT_TRUE(bitmap);
    BITMAP bm{};
    ::GetObjectA(bitmap.get(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    // The bitmap is screen-compatible and the screen is 24-bit, so colours come back exactly.
    MemDcPtr dc(CountGdi(::CreateCompatibleDC(nullptr)));
    {
        SelectGuard select(dc.get(), bitmap.get());
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_EQ(::GetPixel(dc.get(), x, y), PixelColor(x, y)) << x << "," << y;
            }
        }
    }

    std::string eightBit = bmp;
    PutLe16(eightBit, 28, 8);  // palette pictures do not have their pixels at offset 54
    std::string compressed = bmp;
    PutLe32(compressed, 30, BI_RLE8);
    const struct {
        const char* what;
        std::string bytes;
    } refused[] = {
        {"empty", ""},
        {"headers cut short", bmp.substr(0, 53)},
        {"pixel data cut short", bmp.substr(0, bmp.size() - 1)},
        {"8 bits per pixel", eightBit},
        {"compressed", compressed},
    };
    for (const auto& c : refused) {
        BitmapPtr none(BitmapFromBmpBytes(c.bytes));
        EXPECT_FALSE(none) << c.what;
    }
}

TEST_F(SkinResourcesTest, CreateFontByNameGivesZeroForAMissingFamily) {
    EXPECT_EQ(CreateFontByName("No Such Family 12345", 12, 0, 2), nullptr);
    GpFontPtr font(CreateFontByName("宋体", 14, 1, 2));
    ASSERT_TRUE(font);
    REAL size = 0;
    GdipGetFontSize(font.get(), &size);
    EXPECT_EQ(size, 14.0f);
}

// --- Owner types ----------------------------------------------------------------------------------

static_assert(!std::is_copy_constructible_v<SelectGuard> && !std::is_copy_assignable_v<SelectGuard>);
static_assert(!std::is_copy_constructible_v<WindowDc> && !std::is_copy_constructible_v<BitmapPtr>);

TEST(GdiOwners, ReleaseWhatTheyOwnAndCountIt) {
    const GdiCounts before = gdiCounts;
    WindowDc screen(nullptr);
    ASSERT_NE(screen.get(), nullptr);
    MemDcPtr dc(CountGdi(::CreateCompatibleDC(screen.get())));
    HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
    BitmapPtr bitmap(CountGdi(::CreateCompatibleBitmap(screen.get(), 4, 4)));
    HBITMAP rawBitmap = bitmap.get();
    {
        SelectGuard select(dc.get(), rawBitmap);
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), rawBitmap);
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), original);  // deselected, not deleted
    EXPECT_EQ(::GetObjectType(rawBitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(gdiCounts.live() - before.live(), 2);

    HDC rawDc = dc.get();
    bitmap.reset();
    dc.reset();
    EXPECT_EQ(::GetObjectType(rawBitmap), 0u);
    EXPECT_EQ(::GetObjectType(rawDc), 0u);
    EXPECT_EQ(gdiCounts.created - before.created, 2);
    EXPECT_EQ(gdiCounts.released - before.released, 2);
}

// Windows refuses to delete a bitmap still selected into a DC (Wine does it silently): the count
// catches the mistake under Wine; the guard's order never makes it.
TEST(GdiOwners, CountsADeleteOfAnObjectStillSelected) {
    const long before = gdiCounts.deletedWhileSelected;
    WindowDc screen(nullptr);
    MemDcPtr dc(CountGdi(::CreateCompatibleDC(screen.get())));
    {
        BitmapPtr bitmap(CountGdi(::CreateCompatibleBitmap(screen.get(), 4, 4)));
        SelectGuard select(dc.get(), bitmap.get());  // declared last: deselects first
    }
    EXPECT_EQ(gdiCounts.deletedWhileSelected, before);
    HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
    HBITMAP selected = CountGdi(::CreateCompatibleBitmap(screen.get(), 4, 4));
    ::SelectObject(dc.get(), selected);
    ReleaseGdiObject(selected);
    EXPECT_EQ(gdiCounts.deletedWhileSelected, before + 1);
    ::SelectObject(dc.get(), original);
    ::DeleteObject(selected);  // where the delete was refused, it goes now
}

// --- Start-up -----------------------------------------------------------------------------------

ARGB SolidColor(GpBrush* brush) {
    ARGB argb = 0;
    GdipGetSolidFillColor(static_cast<GpSolidFill*>(brush), &argb);
    return argb;
}

TEST_F(SkinResourcesTest, StartupMakesEveryResource) {
    EXPECT_NE(DefaultWindowIcon, nullptr);
    EXPECT_NE(DocumentIcon, nullptr);
    ASSERT_NE(ElementSheet, nullptr);
    UINT sheetWidth = 0, sheetHeight = 0;
    GdipGetImageWidth(ElementSheet, &sheetWidth);
    GdipGetImageHeight(ElementSheet, &sheetHeight);
    EXPECT_GE(sheetWidth, 202u);
    EXPECT_GE(sheetHeight, 204u);

    const struct {
        const char* name;
        GpBrush* brush;
        ARGB argb;
    } brushes[] = {
        {"HaloBrush", HaloBrush, 0x5A000000},
        {"TextBrush", TextBrush, 0xFFFFFFFF},
        {"SkinBrush", SkinBrush.get(), 0xFF0EB3D2},
        {"FaceFillBrush", FaceFillBrush.get(), ToArgb(::GetSysColor(COLOR_BTNFACE), 255)},
    };
    for (const auto& b : brushes) {
        ASSERT_NE(b.brush, nullptr) << b.name;
        EXPECT_EQ(SolidColor(b.brush), b.argb) << b.name;
    }
    ASSERT_NE(OutlinePen, nullptr);
    ARGB penColor = 0;
    GdipGetPenColor(OutlinePen, &penColor);
    EXPECT_EQ(penColor, 0x96000000u);

    // "宋体" resolves to a real family (the prefix maps it to a CJK font). That font's own weight
    // is 500, which GDI+ under Wine already reports as bold, so the two are compared by weight.
    LOGFONTA bold{}, regular{};
    for (GpFont* font : {BoldFont, RegularFont}) {
        ASSERT_NE(font, nullptr);
        REAL size = 0;
        GdipGetFontSize(font, &size);
        EXPECT_EQ(size, 12.0f);
    }
    WindowDc screen(nullptr);
    GpGraphicsPtr graphics = GraphicsOnDc(screen.get());
    GdipGetLogFontA(BoldFont, graphics.get(), &bold);
    GdipGetLogFontA(RegularFont, graphics.get(), &regular);
    EXPECT_GE(bold.lfWeight, FW_BOLD);
    EXPECT_LT(regular.lfWeight, bold.lfWeight);

    const struct {
        const char* name;
        GpStringFormat* format;
        Gdiplus::StringAlignment align;
    } formats[] = {{"CenteredFormat", CenteredFormat, Gdiplus::StringAlignmentCenter},
                   {"LeftFormat", LeftFormat, Gdiplus::StringAlignmentNear}};
    for (const auto& f : formats) {
        ASSERT_NE(f.format, nullptr) << f.name;
        Gdiplus::StringAlignment align{}, lineAlign{};
        GdipGetStringFormatAlign(f.format, &align);
        GdipGetStringFormatLineAlign(f.format, &lineAlign);
        EXPECT_EQ(align, f.align) << f.name;
        EXPECT_EQ(lineAlign, Gdiplus::StringAlignmentCenter) << f.name;
    }

    ASSERT_NE(SharedPaintSet.MemoryDC, nullptr);
    ASSERT_NE(ControlSheetBitmap, nullptr);
    EXPECT_EQ(::GetCurrentObject(SharedPaintSet.MemoryDC, OBJ_BITMAP), ControlSheetBitmap);
    BITMAP sheet{};
    ::GetObjectA(ControlSheetBitmap, sizeof sheet, &sheet);
    EXPECT_GE(sheet.bmWidth, 160);
    EXPECT_GE(sheet.bmHeight, 55);
    EXPECT_EQ(::GetPixel(SharedPaintSet.MemoryDC, 159, 54), RGB(255, 0, 255));  // magenta corner
    EXPECT_EQ(SharedPaintSet.FallbackFont, ::GetStockObject(OEM_FIXED_FONT));
    EXPECT_EQ(SharedPaintSet.FaceColor, ::GetSysColor(COLOR_BTNFACE));
    ASSERT_TRUE(SharedPaintSet.FaceBrush);
    LOGBRUSH face{};
    ::GetObjectA(SharedPaintSet.FaceBrush.get(), sizeof face, &face);
    EXPECT_EQ(face.lbColor, SharedPaintSet.FaceColor);
    EXPECT_EQ(SkinColor, 0u);
    EXPECT_EQ(SkinWidth, 0);
    EXPECT_FALSE(ControlSkinningEnabled);
}

// --- SkinImage ----------------------------------------------------------------------------------

// True while the moveable global block is allocated: a freed handle reports size 0.
bool BlockIsLive(HGLOBAL block) { return ::GlobalSize(block) != 0; }

ARGB PixelOf(GpImage* image, int x, int y) {
    ARGB argb = 0;
    GdipBitmapGetPixel(static_cast<GpBitmap*>(image), x, y, &argb);
    return argb;
}

TEST_F(SkinResourcesTest, SkinImageLoadsFromBytesAndReplacesItsPicture) {
    SkinImage skin;
    EXPECT_EQ(skin.GetImage(), nullptr);

    ASSERT_TRUE(skin.LoadFromBytes(MakeBmp(4, 3)));  // the bytes die here; the block keeps them
    GpImage* first = skin.GetImage();
    HGLOBAL firstBlock = skin.GetMemory();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(firstBlock, nullptr);
    EXPECT_EQ(skin.GetWidth(), 4);
    EXPECT_EQ(skin.GetHeight(), 3);
    EXPECT_EQ(PixelOf(first, 3, 2), ToArgb(PixelColor(3, 2), 255));

    // Refused bytes leave everything as it was.
    const std::string refused[] = {"", "GIF", "plain text that is certainly not a picture"};
    for (const std::string& bytes : refused) {
        EXPECT_FALSE(skin.LoadFromBytes(bytes)) << bytes;
        EXPECT_EQ(skin.GetImage(), first);
        EXPECT_EQ(skin.GetMemory(), firstBlock);
        EXPECT_EQ(skin.GetWidth(), 4);
        EXPECT_EQ(skin.GetHeight(), 3);
    }

    ASSERT_TRUE(BlockIsLive(firstBlock));
    ASSERT_TRUE(skin.LoadFromBytes(MakeBmp(7, 5)));
    EXPECT_NE(skin.GetMemory(), firstBlock);
    EXPECT_FALSE(BlockIsLive(firstBlock)) << "the first picture's block is freed";
    EXPECT_EQ(skin.GetWidth(), 7);
    EXPECT_EQ(skin.GetHeight(), 5);
    EXPECT_EQ(PixelOf(skin.GetImage(), 6, 4), ToArgb(PixelColor(6, 4), 255));

    HGLOBAL secondBlock = skin.GetMemory();
    skin.Attach(nullptr);
    EXPECT_EQ(skin.GetImage(), nullptr);
    EXPECT_EQ(skin.GetMemory(), nullptr);
    EXPECT_EQ(skin.GetWidth(), 0);
    EXPECT_EQ(skin.GetHeight(), 0);
    EXPECT_FALSE(BlockIsLive(secondBlock));
}

TEST_F(SkinResourcesTest, SkinImageLoadsFromFile) {
    test::ScratchDir dir;
    const std::string path = dir.File("皮肤图片.bmp");
    test::WriteFileBytes(path, MakeBmp(6, 2));
    SkinImage skin;
    ASSERT_TRUE(skin.LoadFromBytes(MakeBmp(4, 3)));

    EXPECT_FALSE(skin.LoadFromFile(dir.File("missing.png")));
    EXPECT_EQ(skin.GetWidth(), 4);  // the current picture stays
    EXPECT_NE(skin.GetMemory(), nullptr);

    ASSERT_TRUE(skin.LoadFromFile(path));
    EXPECT_EQ(skin.GetWidth(), 6);
    EXPECT_EQ(skin.GetHeight(), 2);
    EXPECT_EQ(skin.GetMemory(), nullptr);  // a file picture has no block
    EXPECT_EQ(PixelOf(skin.GetImage(), 5, 1), ToArgb(PixelColor(5, 1), 255));
    skin.Dispose();  // releases the file before the folder goes
}

TEST_F(SkinResourcesTest, SkinModuleShutdownEmptiesTheSkinPicture) {
    ASSERT_TRUE(TheSkinImage.LoadFromBytes(MakeBmp(2, 2)));
    SkinModuleShutdown();
    EXPECT_EQ(TheSkinImage.GetImage(), nullptr);
    EXPECT_EQ(TheSkinImage.GetMemory(), nullptr);
}

}  // namespace
