// A minimal data object that offers a list of files as CF_HDROP, as Explorer does when files are
// dragged; used to drop files on the list in tests and by the drag-source helper program.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace test {

inline HGLOBAL MakeHdrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const std::wstring& p : paths) chars += p.size() + 1;
    HGLOBAL memory =
        ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* out = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& p : paths) {
        out = std::copy(p.begin(), p.end(), out);
        *out++ = L'\0';
    }
    ::GlobalUnlock(memory);
    return memory;
}

class HdropData final : public IDataObject {
public:
    explicit HdropData(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (!left) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = MakeHdrop(paths_);
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return ::SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~HdropData() = default;
    std::vector<std::wstring> paths_;
    ULONG refs_ = 1;
};

// The drop target registered on `window`, as OLE keeps it in the window's property.
inline IDropTarget* RegisteredDropTarget(HWND window) {
    return static_cast<IDropTarget*>(::GetPropA(window, "OleDropTargetInterface"));
}

// Drops the files on the window's registered drop target: enter, over, drop, as a drag does.
inline DWORD DropFiles(HWND window, const std::vector<std::wstring>& paths) {
    IDropTarget* target = RegisteredDropTarget(window);
    if (!target) return DROPEFFECT_NONE;
    auto* data = new HdropData(paths);
    RECT r;
    ::GetWindowRect(window, &r);
    const POINTL at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(data, MK_LBUTTON, at, &effect);
    effect = DROPEFFECT_COPY;
    target->DragOver(MK_LBUTTON, at, &effect);
    effect = DROPEFFECT_COPY;
    target->Drop(data, 0, at, &effect);
    data->Release();
    return effect;
}

}  // namespace test
