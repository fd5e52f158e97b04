// The commands on the entries of the shown category: drop to add, open, locate in Explorer,
// properties, rename, delete, and the list's right-click menu.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace app {

// The list's selection index (first selected item), -1 for none.
int SelectedIndex();

void OpenSelectedItem();
void LocateSelectedItem();
void ShowSelectedItemProperties();
void RenameSelectedItem();
void DeleteSelectedItem();
void ShowListMenu();

// Adds one dropped path (ANSI) to the current category and refills the list.
void AddDroppedFile(const std::string& path);
// A drop from the drop target: every path, in drop order, as UTF-16 as the shell gives it.
void AddDroppedFiles(const std::vector<std::wstring>& paths);

void LocateInExplorer(const std::string& path);
INT_PTR ShowFileProperties(const std::string& path, HWND owner);

}  // namespace app
