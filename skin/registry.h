// Per-window state of the skin engine: the property bag on each skinned window (names below) and
// the registry of WindowRecords with their DuiElements, addressed by 1-based positions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace skin {

// --- Property bag ---------------------------------------------------------------------------------
// Every property holds one pointer-sized value; a property never set reads as 0. The engine never
// removes them.
namespace prop {
constexpr char kWndProc[] = "Velvix_WndProc";  // procedure before subclassing
constexpr char kBannerHeight[] = "Nimbo_BannerHeight";
constexpr char kStatusHeight[] = "Nimbo_StatusHeight";
constexpr char kMaximizeBox[] = "Nimbo_MaximizeBox";
constexpr char kSizeBox[] = "Nimbo_bSizeBox";
constexpr char kMinWidth[] = "Nimbo_MinWidth";
constexpr char kMinHeight[] = "Nimbo_MinHeight";
constexpr char kDuiIndex[] = "Nimbo_DUIIndex";  // 1-based position in the registry
constexpr char kMaximize[] = "Nimbo_Maximize";
constexpr char kMinimize[] = "Nimbo_bMinimize";
constexpr char kTracking[] = "Nimbo_bTracking";
constexpr char kChildWindow[] = "Nimbo_hWndChild";
constexpr char kHelpClick[] = "Nimbo_Event_HelpClick";
constexpr char kMainMenuClick[] = "Nimbo_Event_MainMenuClick";
constexpr char kWidth[] = "Nimbo_nWidth";
constexpr char kHeight[] = "Nimbo_nHeight";
constexpr char kCacheDc[] = "NimboCacheDC";
constexpr char kBackDc[] = "NimboBackDC";
constexpr char kCacheBitmap[] = "NimboCacheBitmap";
constexpr char kCacheOldBitmap[] = "NimboCacheOldBitmap";
constexpr char kBackBitmap[] = "NimboBackBitmap";
constexpr char kBackOldBitmap[] = "NimboBackOldBitmap";
// Skinned child controls.
constexpr char kWindowType[] = "Nimbo_WindowType";
constexpr char kCheck[] = "Nimbo_bCheck";
constexpr char kTrackMouseEvent[] = "Nimbo_bTrackMouseEvent";
constexpr char kDrawState[] = "Nimbo_DrawState";
}  // namespace prop

INT_PTR ReadProp(HWND hwnd, const char* name);
void WriteProp(HWND hwnd, const char* name, INT_PTR value);
// Numbers and flags (sizes, indexes, 0/1): the value read back as int, sign kept.
inline int ReadIntProp(HWND hwnd, const char* name) { return static_cast<int>(ReadProp(hwnd, name)); }
// Handles and routine addresses, full pointer width.
template <class H>
H ReadHandleProp(HWND hwnd, const char* name) {
    return reinterpret_cast<H>(ReadProp(hwnd, name));
}
template <class H>
void WriteHandleProp(HWND hwnd, const char* name, H handle) {
    WriteProp(hwnd, name, reinterpret_cast<INT_PTR>(handle));
}

// A window's outer size in pixels (its GetWindowRect), which frames and controls are drawn to.
struct Size {
    int width;
    int height;
};
inline Size WindowSize(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// A routine the application gives the engine (click hooks), called without arguments.
using ElementHook = void (*)();

// --- Registry -----------------------------------------------------------------------------------

enum ElementKind : int { ElementStatus = 0, ElementCaptionButton = 1, ElementBannerButton = 2 };

// Caption-button ids.
enum CaptionButtonId : int {
    ButtonClose = 1,
    ButtonRestore = 2,
    ButtonMaximize = 3,
    ButtonMinimize = 4,
    ButtonMainMenu = 5,
    ButtonHelp = 7,
};

// One caption button, banner button or status line of a registered window.
struct DuiElement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int kind = ElementStatus;
    int buttonId = 0;
    int selfIndex = 0;     // own 1-based position in the record's elements
    std::string text;      // banner caption or status text
    HICON icon = nullptr;  // drawn; a caller's icon is referred to, never destroyed
    // The icon when the engine made it itself (from .ico bytes): destroyed with the last copy of
    // the element, that is when the button is removed or its window goes.
    std::shared_ptr<std::remove_pointer_t<HICON>> ownedIcon;
    RECT rect{};  // hit rectangle {x, y, x + width, y + height}
    bool hovered = false;
    bool pressed = false;
    bool selected = false;  // banner button whose child window is shown
    bool visible = true;    // invisible elements are neither drawn nor hit
    HWND childWindow = nullptr;
    ElementHook clickHook = nullptr;

    // Move or resize the element and rebuild its hit rectangle: the only ways its geometry should
    // change, so that rect always equals {x, y, x + width, y + height}.
    void MoveTo(int newX, int newY) { Place(newX, newY, width, height); }
    void Place(int newX, int newY, int newWidth, int newHeight);
};

struct WindowRecord {
    HWND hwnd = nullptr;
    int hoverIndex = -1;    // 1-based, -1 for none
    int pressedIndex = -1;  // 1-based, -1 for none
    int nextBannerX = 5;
    int bannerButtonCount = 0;
    int statusIndex = 0;                                // 1-based, 0 when the window has no status line
    std::vector<std::unique_ptr<DuiElement>> elements;  // position p is elements[p - 1]
    // The window's NimboCacheDC and NimboBackDC as of its last full render, kept here as well: the
    // hover and press path reaches them without property reads (each a server round trip under
    // Wine, about a third of an element redraw).
    HDC cacheDc = nullptr;
    HDC backDc = nullptr;

    int elementCount() const { return static_cast<int>(elements.size()); }
    // The element at 1-based `index`, or null outside 1..elementCount.
    DuiElement* Element(int index) const;
};

// The registered windows in registration order, positions from 1. Records keep their addresses
// while others come and go; only their positions move.
class WindowRegistry {
public:
    int Count() const { return static_cast<int>(records_.size()); }
    // The record at `position`, or null outside 1..Count.
    WindowRecord* At(int position) const;
    // Position of the first record of `hwnd`, 0 when there is none.
    int PositionOf(HWND hwnd) const;
    // Appends the record, writes its window's Nimbo_DUIIndex and returns the new position.
    int Append(std::unique_ptr<WindowRecord> record);
    // Removes the first record of `hwnd`, closing the gap, and renumbers Nimbo_DUIIndex of every
    // window after it. False when `hwnd` has no record.
    bool Remove(HWND hwnd);
    void Clear() { records_.clear(); }

private:
    std::vector<std::unique_ptr<WindowRecord>> records_;
};

extern WindowRegistry TheWindowRegistry;

// Number of registered windows.
inline int RegisteredWindowCount() { return TheWindowRegistry.Count(); }

// The record of `hwnd` found through its Nimbo_DUIIndex; null when the index is 0, out of range
// or stale (naming another window's record). The caller then skips whatever needs the record.
WindowRecord* FindWindowRecord(HWND hwnd);

// Appends an element (visible, no flags set) and returns its 1-based index.
int AddElement(WindowRecord& record, int kind, int buttonId, int x, int y, int width, int height,
               const std::string& text, HICON icon = nullptr);

// Passes a message to the procedure saved in Velvix_WndProc (DefWindowProcA when none is saved).
LRESULT CallPreviousWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Clears then sets style bits. Returns 1 when the style changed, 0 (and writes nothing) when the
// bits already were as asked. The frame is not refreshed.
int ChangeWindowStyle(HWND hwnd, DWORD clearBits, DWORD setBits);

// Shows exactly one of the maximize (element 2) and restore (element 3) buttons and records the
// state in Nimbo_Maximize. `given` false: the state comes from IsZoomed. Does nothing for a window
// without Nimbo_MaximizeBox or without a record. Nothing is redrawn.
void SyncMaximizeButtons(HWND hwnd, bool maximized, bool given);

}  // namespace skin
