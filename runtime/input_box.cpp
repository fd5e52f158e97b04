#include "runtime/input_box.h"

#include <windows.h>

#include <vector>

namespace runtime {

namespace {

constexpr int kEditId = 100;

std::wstring Widen(const std::string& text) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    return wide;
}

// Builds an in-memory dialog template: DLGTEMPLATE and DLGITEMTEMPLATEs are WORD arrays with
// DWORD-aligned items, strings in UTF-16.
class TemplateWriter {
public:
    void Word(WORD w) { data_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const std::wstring& s) {
        for (wchar_t c : s) Word(static_cast<WORD>(c));
        Word(0);
    }
    void AlignDword() {
        if (data_.size() % 2) Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls,
              const std::wstring& text) {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(x);
        Word(y);
        Word(cx);
        Word(cy);
        Word(id);
        Word(0xFFFF);
        Word(cls);
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

private:
    std::vector<WORD> data_;
};

struct BoxState {
    std::string initial;
    std::string result;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lp);
        auto* state = reinterpret_cast<BoxState*>(lp);
        ::SetDlgItemTextA(dialog, kEditId, state->initial.c_str());
        HWND edit = ::GetDlgItem(dialog, kEditId);
        ::SendMessageA(edit, EM_SETSEL, 0, -1);
        ::SetFocus(edit);
        return FALSE;  // focus set by hand
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            auto* state = reinterpret_cast<BoxState*>(::GetWindowLongPtrA(dialog, DWLP_USER));
            HWND edit = ::GetDlgItem(dialog, kEditId);
            std::string text(static_cast<size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
            text.resize(
                static_cast<size_t>(::GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
            state->result = text;
            ::EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::string> ShowInputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) {
    TemplateWriter t;
    t.Dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.Dword(WS_EX_TOPMOST);
    t.Word(4);  // items
    t.Word(0);
    t.Word(0);
    t.Word(240);
    t.Word(74);
    t.Word(0);  // no menu
    t.Word(0);  // default class
    t.Text(Widen(title));
    t.Word(9);
    t.Text(Widen("宋体"));
    t.Item(SS_LEFT, 8, 8, 170, 30, 0xFFFF, 0x0082, Widen(prompt));
    t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 8, 48, 224, 14, kEditId, 0x0081, L"");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 186, 6, 46, 14, IDOK, 0x0080, Widen("确定"));
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 186, 24, 46, 14, IDCANCEL, 0x0080, Widen("取消"));

    BoxState state{initial, {}};
    const INT_PTR answer =
        ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), t.get(), ::GetActiveWindow(), InputBoxProc,
                                  reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK) return std::nullopt;
    return state.result;
}

}  // namespace runtime
