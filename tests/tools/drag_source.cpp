// Drags files from this process onto a point of the screen, as Explorer would: presses the left
// button over its own window (through the X server, with xdotool), runs OLE's DoDragDrop while a
// helper thread moves the pointer to the target and releases it there. Usage: drag_source X Y PATH... Exit
// code 0 when the target took the drop (copy), 1 when it did not, 2 on bad arguments.
#include <windows.h>
#include <ole2.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/hdrop_data.h"
#include "tests/test_support.h"

namespace {

class DropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

POINT g_target;

// Pointer moves and presses go through the X server (test::XdoTool): they reach the drag loop like
// a person's, which injected input does not.
DWORD WINAPI MovePointer(void*) {
    const std::string x = std::to_string(g_target.x), y = std::to_string(g_target.y);
    test::XdoTool("sleep 0.3 mousemove 120 120 sleep 0.1 mousemove " + std::to_string((50 + g_target.x) / 2) +
                  " " + std::to_string((50 + g_target.y) / 2) + " sleep 0.1 mousemove " + x + " " + y +
                  " sleep 0.2 mousemove " + std::to_string(g_target.x + 2) + " " + y +
                  " sleep 0.3 mouseup 1");
    return 0;
}

std::wstring Widen(const char* ansi) {
    wchar_t wide[MAX_PATH] = L"";
    ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, MAX_PATH);
    return wide;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    g_target = {std::atoi(argv[1]), std::atoi(argv[2])};
    std::vector<std::wstring> paths;
    for (int i = 3; i < argc; ++i) paths.push_back(Widen(argv[i]));

    ::OleInitialize(nullptr);
    HWND window =
        ::CreateWindowExA(WS_EX_TOPMOST, "Static", "drag source", WS_POPUP | WS_VISIBLE | SS_BLACKRECT, 10,
                          10, 80, 80, nullptr, nullptr, nullptr, nullptr);
    ::UpdateWindow(window);
    test::XdoTool("mousemove 50 50 sleep 0.1 mousedown 1");
    test::PumpMessages(200);  // lets Wine see the pressed button before the drag loop asks for it

    HANDLE mover = ::CreateThread(nullptr, 0, MovePointer, nullptr, 0, nullptr);
    auto* data = new test::HdropData(paths);
    DropSource source;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = ::DoDragDrop(data, &source, DROPEFFECT_COPY, &effect);
    ::WaitForSingleObject(mover, 5000);
    ::CloseHandle(mover);
    data->Release();
    ::DestroyWindow(window);
    ::OleUninitialize();
    return hr == DRAGDROP_S_DROP && effect == DROPEFFECT_COPY ? 0 : 1;
}
