// Start-up and the main window "TAVEN桌面工具箱V2.0": the process start-up order, the form of the
// main window, the created sequence, the single-instance rule, the keep-on-top worker and the
// clean-up at process end.
#pragma once

#include <windows.h>

namespace app {

// Control ids of the main form.
enum ControlId : int {
    kIdCategoryFirst = 1001,  // the four category buttons, in category order
    kIdList = 1010,           // "列表框"
};

// Menu command ids.
enum CommandId : int {
    kCmdOpen = 2001,
    kCmdLocate,
    kCmdRefresh,
    kCmdDelete,
    kCmdRename,
    kCmdProperties,
    kCmdShowWindow = 2101,
    kCmdExit,
    kCmdChangeSkin = 2201,
    kCmdRestoreSkin,
    kCmdAbout,
};

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT_PTR kDockTimerId = 1;  // "吸附", 100 ms
constexpr UINT kDockInterval = 100;

HWND MainWindow();

// Hotkey identifiers of F1 to F4 (0 where the registration failed).
int* HotkeyIds();

// Loads the main form and runs the created sequence; the window is shown. 0 on failure.
HWND LoadMainWindow();

// The whole program: start-up, message loop, exit code.
int RunToolbox();

// Named steps of the created sequence, also used by tests.
HANDLE EnsureSingleInstance();
void OnMainWindowCreated();
void ReleaseGlobals();

// Pops up one of the form's menus at the cursor and runs the chosen command.
enum class FormMenu { List, Tray, Skin };
void PopUpFormMenu(FormMenu menu);
void RunCommand(int id);

}  // namespace app
