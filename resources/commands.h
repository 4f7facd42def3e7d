// The command table: each command's menu text, status-bar prompt and tooltip,
// the layout of the main menu, the accelerator tables and the toolbar.
#pragma once

#include <QKeyCombination>
#include <QLatin1String>
#include <span>

namespace res {

struct CommandInfo {
    int id;
    const char* menuText;  // with "\t" and the key shown, as it stands in the menu; nullptr when not in a menu
    const char* prompt;    // status-bar prompt
    const char* tooltip;   // toolbar tooltip, nullptr when none
};

// All commands that have a string-table entry, including the ones with no menu item.
std::span<const CommandInfo> commands();
const CommandInfo* findCommand(int id);

struct MenuEntry {
    enum Kind { Item, Separator, PopupBegin, PopupEnd, RecentFiles };
    Kind kind;
    int id;            // command id for Item
    const char* text;  // popup title for PopupBegin
};

// The main menu (resource 128), top-level popups and nested popups in order.
std::span<const MenuEntry> mainMenu();

struct Accelerator {
    QKeyCombination key;
    int id;
};

// Accelerator table 128 in stored order.
std::span<const Accelerator> mainAccelerators();

// Toolbar 128: command ids in button order, 0 for a separator.
std::span<const int> toolbarButtons();
inline constexpr int kToolbarImageCount = 12;
inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;

}  // namespace res
