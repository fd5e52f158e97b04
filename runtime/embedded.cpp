#include "runtime/embedded.h"

#include <windows.h>

namespace runtime {

std::string_view EmbeddedBytes(int id) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC info = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(module, info);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const char*>(data), ::SizeofResource(module, info)};
}

}  // namespace runtime
