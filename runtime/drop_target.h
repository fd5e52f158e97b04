// The drop target "拖放对象1": an OLE drop target on a window that takes files (CF_HDROP) dragged
// from Explorer or any other program, and hands their paths over in drop order.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace runtime {

using FilesDropped = void (*)(const std::vector<std::wstring>& paths);

// Registers the window as a drop target (OLE must be initialised on this thread).
bool RegisterFileDropTarget(HWND window, FilesDropped handler);
void RevokeFileDropTarget(HWND window);

// The paths held by a CF_HDROP data object, in order, as the shell gives them (UTF-16).
std::vector<std::wstring> DroppedPaths(IDataObject* data);

}  // namespace runtime
