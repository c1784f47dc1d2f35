// The items and the selection of a drop-down list, in UTF-8.
#pragma once

#include <windows.h>

#include <string>

namespace bootdeck {

void clearItems(HWND combo);
void appendItem(HWND combo, const std::string &text);
int itemCount(HWND combo);
// The index of the selected item; -1 when none is selected.
int selectedItem(HWND combo);
// Selects item `index`. Like a program's selection, it sends no notification to the parent.
void selectItem(HWND combo, int index);
std::string itemText(HWND combo, int index);

} // namespace bootdeck
