#include "runtime/drop_target.h"

#include <ole2.h>
#include <shellapi.h>

namespace runtime {

namespace {

FORMATETC HdropFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

class FileDropTarget final : public IDropTarget {
public:
    explicit FileDropTarget(FilesDropped handler) : handler_(handler) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC format = HdropFormat();
        accepts_ = data && data->QueryGetData(&format) == S_OK;
        *effect = accepts_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = accepts_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        accepts_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        const std::vector<std::wstring> paths = DroppedPaths(data);
        *effect = paths.empty() ? DROPEFFECT_NONE : DROPEFFECT_COPY;
        accepts_ = false;
        if (!paths.empty()) handler_(paths);
        return S_OK;
    }

private:
    ~FileDropTarget() = default;
    FilesDropped handler_;
    ULONG refs_ = 1;
    bool accepts_ = false;
};

}  // namespace

std::vector<std::wstring> DroppedPaths(IDataObject* data) {
    std::vector<std::wstring> paths;
    if (!data) return paths;
    FORMATETC format = HdropFormat();
    STGMEDIUM medium = {};
    if (data->GetData(&format, &medium) != S_OK) return paths;
    if (auto drop = static_cast<HDROP>(::GlobalLock(medium.hGlobal))) {
        const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
            std::wstring path(length + 1, L'\0');
            path.resize(::DragQueryFileW(drop, i, path.data(), length + 1));
            if (!path.empty()) paths.push_back(path);
        }
        ::GlobalUnlock(medium.hGlobal);
    }
    ::ReleaseStgMedium(&medium);
    return paths;
}

bool RegisterFileDropTarget(HWND window, FilesDropped handler) {
    auto* target = new FileDropTarget(handler);
    const HRESULT hr = ::RegisterDragDrop(window, target);
    target->Release();  // the registration holds its own reference
    return SUCCEEDED(hr);
}

void RevokeFileDropTarget(HWND window) {
    if (window) ::RevokeDragDrop(window);
}

}  // namespace runtime
