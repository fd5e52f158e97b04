// Property bag and window registry of the skin engine.
#include "skin/registry.h"

namespace skin {

WindowRegistry TheWindowRegistry;

INT_PTR ReadProp(HWND hwnd, const char* name) { return reinterpret_cast<INT_PTR>(::GetPropA(hwnd, name)); }

void WriteProp(HWND hwnd, const char* name, INT_PTR value) {
    ::SetPropA(hwnd, name, reinterpret_cast<HANDLE>(value));
}

void DuiElement::Place(int newX, int newY, int newWidth, int newHeight) {
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    rect = {x, y, x + width, y + height};
}

DuiElement* WindowRecord::Element(int index) const {
    if (index < 1 || index > elementCount()) return nullptr;
    return elements[index - 1].get();
}

WindowRecord* WindowRegistry::At(int position) const {
    if (position < 1 || position > Count()) return nullptr;
    return records_[position - 1].get();
}

int WindowRegistry::PositionOf(HWND hwnd) const {
    for (int i = 0; i < Count(); ++i) {
        if (records_[i]->hwnd == hwnd) return i + 1;
    }
    return 0;
}

int WindowRegistry::Append(std::unique_ptr<WindowRecord> record) {
    HWND hwnd = record->hwnd;
    records_.push_back(std::move(record));
    WriteProp(hwnd, prop::kDuiIndex, Count());
    return Count();
}

bool WindowRegistry::Remove(HWND hwnd) {
    const int position = PositionOf(hwnd);
    if (position == 0) return false;
    records_.erase(records_.begin() + (position - 1));
    for (int i = position - 1; i < Count(); ++i) WriteProp(records_[i]->hwnd, prop::kDuiIndex, i + 1);
    return true;
}

WindowRecord* FindWindowRecord(HWND hwnd) {
    // The index is checked against the record's window as well: a stale index that is still in
    // range names another window's record, and changing that one would corrupt a live frame.
    WindowRecord* record = TheWindowRegistry.At(ReadIntProp(hwnd, prop::kDuiIndex));
    return record && record->hwnd == hwnd ? record : nullptr;
}

int AddElement(WindowRecord& record, int kind, int buttonId, int x, int y, int width, int height,
               const std::string& text, HICON icon) {
    auto element = std::make_unique<DuiElement>();
    element->kind = kind;
    element->buttonId = buttonId;
    element->Place(x, y, width, height);
    element->text = text;
    element->icon = icon;
    element->selfIndex = record.elementCount() + 1;
    record.elements.push_back(std::move(element));
    return record.elementCount();
}

LRESULT CallPreviousWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // A window whose saved procedure is missing still gets default handling rather than a bare 0,
    // which would for example fail its WM_NCCREATE.
    WNDPROC previous = ReadHandleProp<WNDPROC>(hwnd, prop::kWndProc);
    if (!previous) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    return ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

int ChangeWindowStyle(HWND hwnd, DWORD clearBits, DWORD setBits) {
    const DWORD old = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    const DWORD wanted = (old & ~clearBits) | setBits;
    if (wanted == old) return 0;
    ::SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(wanted));
    return 1;
}

void SyncMaximizeButtons(HWND hwnd, bool maximized, bool given) {
    if (ReadIntProp(hwnd, prop::kMaximizeBox) != 1) return;
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record) return;
    if (!given) maximized = ::IsZoomed(hwnd) != 0;
    DuiElement* maximize = record->Element(2);
    DuiElement* restore = record->Element(3);
    if (maximize) maximize->visible = !maximized;
    if (restore) restore->visible = maximized;
    WriteProp(hwnd, prop::kMaximize, maximized ? 1 : 0);
}

}  // namespace skin
