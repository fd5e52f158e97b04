#include "skin/engine.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "skin/control_skin.h"
#include "skin/frame_proc.h"
#include "skin/frame_render.h"
#include "skin/picture_header.h"
#include "skin/resources.h"

namespace skin {

SkinEngine TheSkinEngine;

namespace {

constexpr int kMinBannerForButtons = 80;
constexpr int kBannerButtonY = 27;
constexpr int kBannerButtonWidth = 60;
constexpr int kBannerButtonHeight = 52;
constexpr DWORD kPopup = 0x80000000, kChild = 0x40000000, kCaption = 0x00C00000, kThickFrame = 0x00040000;
// A picture file larger than this is not read for its header: no skin picture is that big.
constexpr std::streamoff kMaxPictureFileBytes = 64 * 1024 * 1024;

bool SameCaption(const DuiElement& e, const std::string& caption) {
    return e.kind == ElementBannerButton && e.text == caption;
}

// Whether the file at `path` is a picture the engine may decode (see PictureWithinLimits).
bool PictureFileWithinLimits(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return true;  // the decoder reports the missing file
    const std::streamoff size = in.tellg();
    if (size > kMaxPictureFileBytes) return false;
    in.seekg(0);
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), size);
    return PictureWithinLimits(bytes);
}

}  // namespace

int SkinEngine::LoadSkinFromBytes(std::string_view bytes) {
    if (!PictureWithinLimits(bytes) || !TheSkinImage.LoadFromBytes(bytes)) return 0;
    ApplySkinImage();
    return 1;
}

int SkinEngine::LoadSkinFromFile(const std::string& path) {
    if (!PictureFileWithinLimits(path) || !TheSkinImage.LoadFromFile(path)) return 0;
    ApplySkinImage();
    return 1;
}

void SkinEngine::ApplySkinImage() {
    SkinBrush.reset();
    SkinWidth = TheSkinImage.GetWidth();
    SkinHeight = TheSkinImage.GetHeight();
    SkinColor = SampleImageColor(TheSkinImage.GetImage());
    SkinBrush.reset(CreateSolidFill(ToArgb(SkinColor, 255)));
    RedrawAll();
}

// The mean colour of the picture's pixels, each weighted by its alpha: the tint the frame takes
// from the picture. (Drawing the picture into one pixel samples a single source pixel on some
// systems rather than averaging.) A picture with no opaque pixel gives the start-up colour.
COLORREF SkinEngine::SampleImageColor(GpImage* image) {
    if (!image) return kStartupSkinColor;
    UINT width = 0, height = 0;
    GdipGetImageWidth(image, &width);
    GdipGetImageHeight(image, &height);
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0, PixelFormat32bppARGB,
                                  nullptr, &bitmap) != Gdiplus::Ok) {
        return kStartupSkinColor;
    }
    // Draw the picture 1:1 into a 32-bit ARGB bitmap, so every source format is read the same way.
    GpGraphics* graphics = nullptr;
    if (GdipGetImageGraphicsContext(bitmap, &graphics) == Gdiplus::Ok) {
        GdipDrawImageRectI(graphics, image, 0, 0, static_cast<INT>(width), static_cast<INT>(height));
        GdipDeleteGraphics(graphics);
    }
    Gdiplus::BitmapData data = {};
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    COLORREF result = kStartupSkinColor;
    if (GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) ==
        Gdiplus::Ok) {
        uint64_t sum[3] = {0, 0, 0}, weight = 0;
        for (UINT y = 0; y < height; ++y) {
            const auto* row =
                static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
            for (UINT x = 0; x < width; ++x) {
                const uint8_t* p = row + x * 4;  // B, G, R, A
                sum[0] += static_cast<uint64_t>(p[2]) * p[3];
                sum[1] += static_cast<uint64_t>(p[1]) * p[3];
                sum[2] += static_cast<uint64_t>(p[0]) * p[3];
                weight += p[3];
            }
        }
        GdipBitmapUnlockBits(bitmap, &data);
        if (weight) {
            auto mean = [&](int i) { return static_cast<COLORREF>((sum[i] + weight / 2) / weight); };
            result = RGB(mean(0), mean(1), mean(2));
        }
    }
    GdipDisposeImage(bitmap);
    return result;
}

int SkinEngine::SetSkinColor(COLORREF color) {
    TheSkinImage.Dispose();
    SkinBrush.reset(CreateSolidFill(ToArgb(color, 255)));
    RedrawAll();
    return 1;
}

int SkinEngine::RegisterWindow(HWND hwnd, const WindowSettings& settings) {
    return skin::RegisterWindow(hwnd, settings);
}

void SkinEngine::SkinAllControls() {
    ControlSkinningEnabled = true;
    for (int p = 1; p <= TheWindowRegistry.Count(); ++p) {
        HWND hwnd = TheWindowRegistry.At(p)->hwnd;
        SkinChildControls(hwnd);
        if (::IsWindowVisible(hwnd)) ::InvalidateRect(hwnd, nullptr, TRUE);
    }
}

void SkinEngine::RedrawAll() {
    for (int p = 1; p <= TheWindowRegistry.Count(); ++p) {
        HWND hwnd = TheWindowRegistry.At(p)->hwnd;
        RenderFrame(hwnd, true);
        ::InvalidateRect(hwnd, nullptr, TRUE);
    }
}

void SkinEngine::SetStatusText(HWND hwnd, const std::string& text) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record) return;
    DuiElement* status = record->Element(record->statusIndex);
    if (!status) return;
    status->text = text;
    RedrawElement(hwnd, record->statusIndex);
}

int SkinEngine::AddBannerButton(HWND hwnd, const std::string& caption, std::string_view icon,
                                std::optional<HWND> child, std::optional<ElementHook> click) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record) return 0;
    if (ReadIntProp(hwnd, prop::kBannerHeight) < kMinBannerForButtons) {
        WriteProp(hwnd, prop::kBannerHeight, kMinBannerForButtons);
        RenderFrame(hwnd, true);
        if (ReadIntProp(hwnd, prop::kMinimize) != 1) ::InvalidateRect(hwnd, nullptr, FALSE);
        LayoutBannerChild(hwnd);
    }
    HICON handle = nullptr;
    std::shared_ptr<std::remove_pointer_t<HICON>> owned;  // only an icon made here is ours to destroy
    if (icon.size() == 4) {
        uint32_t value = 0;
        std::memcpy(&value, icon.data(), 4);
        handle = reinterpret_cast<HICON>(static_cast<UINT_PTR>(value));
    } else {
        handle = IconFromIcoBytes(icon, 0);
        if (handle) owned.reset(handle, IconDeleter{});
    }
    if (!handle) handle = DocumentIcon;
    const int index = skin::AddElement(*record, ElementBannerButton, 0, record->nextBannerX, kBannerButtonY,
                                       kBannerButtonWidth, kBannerButtonHeight, caption, handle);
    record->nextBannerX += kBannerButtonStep;
    record->bannerButtonCount += 1;
    DuiElement* button = record->Element(index);
    button->childWindow = child.value_or(nullptr);
    button->clickHook = click.value_or(nullptr);
    button->ownedIcon = std::move(owned);
    if (record->bannerButtonCount == 1) button->selected = true;
    RedrawElement(hwnd, index);
    HWND childWindow = button->childWindow;
    if (!childWindow || !::IsWindow(childWindow)) return 1;
    if (::GetParent(childWindow) != hwnd) {
        ::SetParent(childWindow, hwnd);
        ChangeWindowStyle(childWindow, kPopup, kChild);
        ChangeWindowStyle(childWindow, kCaption, 0);
    }
    ::ShowWindow(childWindow, SW_HIDE);
    SkinChildControls(childWindow);
    return 1;
}

int SkinEngine::SelectBannerButton(HWND hwnd, const std::string& caption) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record) return 0;
    bool matched = false;
    for (int i = 1; i <= record->elementCount(); ++i) {
        DuiElement* e = record->Element(i);
        if (!SameCaption(*e, caption)) continue;
        matched = true;
        if (!e->selected) {
            e->selected = true;
            RedrawElement(hwnd, i);
        }
        ShowBannerChild(hwnd, i);
    }
    if (!matched) return 0;
    for (int i = 1; i <= record->elementCount(); ++i) {
        DuiElement* e = record->Element(i);
        if (e->kind == ElementBannerButton && e->text != caption && e->selected) {
            e->selected = false;
            RedrawElement(hwnd, i);
        }
    }
    return 1;
}

int SkinEngine::RemoveBannerButton(HWND hwnd, const std::string& caption) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record) return 0;
    for (int i = 1; i <= record->elementCount(); ++i) {
        if (!SameCaption(*record->Element(i), caption)) continue;
        record->elements.erase(record->elements.begin() + (i - 1));
        // Later elements moved down one place; their own index and the record's indexes follow.
        for (int k = i; k <= record->elementCount(); ++k) record->Element(k)->selfIndex = k;
        auto shift = [i](int& index) {
            if (index == i)
                index = -1;
            else if (index > i)
                --index;
        };
        shift(record->hoverIndex);
        shift(record->pressedIndex);
        if (record->statusIndex > i) --record->statusIndex;
        RelayoutBannerButtons(hwnd);
        return 1;
    }
    return 0;
}

int SkinEngine::AddElement(WindowRecord& record, int kind, int buttonId, int x, int y, int width, int height,
                           const std::string& text, std::optional<HICON> icon) {
    return skin::AddElement(record, kind, buttonId, x, y, width, height, text, icon.value_or(nullptr));
}

void SkinEngine::SetHelpClickHook(HWND hwnd, ElementHook routine) {
    WriteHandleProp(hwnd, prop::kHelpClick, routine);
}

void SkinEngine::SetMainMenuClickHook(HWND hwnd, ElementHook routine) {
    WriteHandleProp(hwnd, prop::kMainMenuClick, routine);
}

int SkinEngine::EnableSizeBox(HWND hwnd, std::optional<int> minWidth, std::optional<int> minHeight) {
    if (!FindWindowRecord(hwnd)) return 0;
    WriteProp(hwnd, prop::kSizeBox, 1);
    WriteProp(hwnd, prop::kMinWidth, minWidth.value_or(kDefaultMinWidth));
    WriteProp(hwnd, prop::kMinHeight, minHeight.value_or(kDefaultMinHeight));
    ChangeWindowStyle(hwnd, 0, kThickFrame);
    RenderFrame(hwnd, true);
    return 1;
}

void SkinEngine::SetFaceColor(COLORREF color) {
    if (color == kSystemFaceColor) color = ::GetSysColor(COLOR_BTNFACE);
    if (color == SharedPaintSet.FaceColor) return;
    SharedPaintSet.FaceColor = color;
    SharedPaintSet.FaceBrush.reset(CountGdi(::CreateSolidBrush(color)));
    FaceFillBrush.reset(CreateSolidFill(ToArgb(color, 255)));
    RedrawAll();
}

COLORREF SkinEngine::GetFaceColor() const { return SharedPaintSet.FaceColor; }

}  // namespace skin
