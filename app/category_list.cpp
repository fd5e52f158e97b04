#include "app/category_list.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/store.h"
#include "runtime/form.h"
#include "runtime/shell.h"

namespace app {

const char* const kCategories[kCategoryCount] = {"常用工具", "编程工具", "文件夹", "常用网站"};

namespace {

constexpr int kIconSize = 32;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kListTextColour = 0x606060;
// SHGFI_SYSICONINDEX | SHGFI_SHELLICONSIZE: the system image list and the icon's index in it, all
// that is drawn. The type and display names are never shown and each costs the shell a lookup of its
// own per path; the exe type besides makes Wine refuse the whole call.
constexpr UINT kShellIconFlags = SHGFI_SYSICONINDEX | SHGFI_SHELLICONSIZE;

HWND g_list = nullptr;

// The canvas "画板1": a window-sized bitmap that keeps what was drawn (auto-redraw off draws
// straight into it too), shown by the canvas window when it paints.
struct IconCanvas {
    HWND window = nullptr;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
};
IconCanvas g_canvas;

LRESULT CALLBACK IconCanvasProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (g_canvas.dc) ::BitBlt(dc, 0, 0, kIconSize, kIconSize, g_canvas.dc, 0, 0, SRCCOPY);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        if (g_canvas.dc) {
            ::SelectObject(g_canvas.dc, g_canvas.oldBitmap);
            ::DeleteObject(g_canvas.bitmap);
            ::DeleteDC(g_canvas.dc);
        }
        g_canvas = IconCanvas{};
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

void AddItem(HWND list, int index, const std::string& caption) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<char*>(caption.c_str());
    item.iImage = index;
    ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// Gives the list its new image list and destroys the one it replaces (the list view does not).
void SetListImages(HWND list, HIMAGELIST images) {
    HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images)));
    if (old && old != images) ::ImageList_Destroy(old);
}

// Holds back the list's painting while it is refilled (each insertion would otherwise invalidate
// and arrange it again) and repaints it once at the end.
class RedrawPause {
public:
    explicit RedrawPause(HWND list) : list_(list) { ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawPause() {
        ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list_, nullptr, TRUE);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND list_;
};

// The canvas cleared to white with the shell's icon of `path` drawn on it.
void DrawShellIcon(const std::string& path, bool small) {
    if (!g_canvas.window || !::IsWindow(g_canvas.window)) {
        runtime::MessageBox("错误，未进入创建区。", "错误", MB_ICONEXCLAMATION);
        runtime::EndProcess(0);
    }
    const RECT all = {0, 0, kIconSize, kIconSize};
    HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::FillRect(g_canvas.dc, &all, white);
    SHFILEINFOA info = {};
    const auto images = reinterpret_cast<HIMAGELIST>(::SHGetFileInfoA(
        path.c_str(), 0, &info, sizeof(info), kShellIconFlags | (small ? SHGFI_SMALLICON : 0)));
    if (images) ::ImageList_Draw(images, info.iIcon, g_canvas.dc, 0, 0, ILD_TRANSPARENT);
}

// Adds the canvas picture to `images`, white as the transparent colour. The image list selects the
// bitmap into a DC of its own and a bitmap can be selected into one DC at a time, so the canvas lets
// go of it meanwhile; this spares a bitmap copy per icon.
void AddCanvasPicture(HIMAGELIST images) {
    ::SelectObject(g_canvas.dc, g_canvas.oldBitmap);
    ::ImageList_AddMasked(images, g_canvas.bitmap, kWhite);
    ::SelectObject(g_canvas.dc, g_canvas.bitmap);
}

}  // namespace

std::string& CurrentCategory() {
    static std::string current;
    return current;
}

void SetCategoryListControl(HWND list) {
    g_list = list;
    ::SendMessageA(list, LVM_SETTEXTCOLOR, 0, kListTextColour);
    ::SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, kWhite);
    ::SendMessageA(list, LVM_SETBKCOLOR, 0, kWhite);
}

HWND CategoryListControl() { return g_list; }

void SelectCategory(const std::string& name) {
    CurrentCategory() = name;
    FillCategoryList();
}

void FillCategoryList() {
    HWND list = g_list;
    if (!list) return;
    RedrawPause pause(list);
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    const std::string value = ReadCategory(CurrentCategory());
    if (value.empty()) return;  // the list stays empty and keeps the image list it had
    const std::vector<std::string> entries = SplitItems(value);
    HIMAGELIST images =
        ::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 0, static_cast<int>(entries.size()));
    SetListImages(list, images);
    ::SendMessageA(list, LVM_SETITEMCOUNT, entries.size(), 0);  // room for every item at once
    // Items are appended in store order, so item k is entry k of the category.
    for (size_t k = 0; k < entries.size(); ++k) {
        const std::vector<std::string> pieces = SplitEntry(entries[k]);
        DrawShellIcon(pieces.empty() ? std::string() : pieces[0], false);
        AddCanvasPicture(images);
        AddItem(list, static_cast<int>(k), pieces.size() > 1 ? pieces[1] : std::string());
    }
}

HWND LoadIconCanvasWindow() {
    static const runtime::FormDef kCanvasForm = {"ToolboxIconCanvas", "窗口",   50, 50,      kIconSize,
                                                 kIconSize,           WS_POPUP, 0,  nullptr, 0};
    HWND window = runtime::CreateForm(kCanvasForm, IconCanvasProc);
    if (!window) return nullptr;
    HDC screen = ::GetDC(window);
    g_canvas.window = window;
    g_canvas.dc = ::CreateCompatibleDC(screen);
    g_canvas.bitmap = ::CreateCompatibleBitmap(screen, kIconSize, kIconSize);
    g_canvas.oldBitmap = ::SelectObject(g_canvas.dc, g_canvas.bitmap);
    ::ReleaseDC(window, screen);
    ::SetWindowLongPtrA(window, GWL_EXSTYLE, WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    runtime::MoveWindowTo(window, -32, -32);
    return window;
}

HWND IconCanvasWindow() { return g_canvas.window; }

HBITMAP RenderShellIcon(const std::string& path, bool small) {
    DrawShellIcon(path, small);
    HBITMAP copy = ::CreateCompatibleBitmap(g_canvas.dc, kIconSize, kIconSize);
    HDC copyDc = ::CreateCompatibleDC(g_canvas.dc);
    HGDIOBJ old = ::SelectObject(copyDc, copy);
    ::BitBlt(copyDc, 0, 0, kIconSize, kIconSize, g_canvas.dc, 0, 0, SRCCOPY);
    ::SelectObject(copyDc, old);
    ::DeleteDC(copyDc);
    return copy;
}

}  // namespace app
