#include "resources/commands.h"

#include "resources/ids.h"

#include <array>

namespace res {
namespace {

using namespace ids;

// clang-format off

constexpr CommandInfo kCommands[] = {
    {ID_FILE_NEW, "&New\tCtrl+N", "Create a new document", "New"},
    {ID_FILE_OPEN, "&Open...\tCtrl+O", "Open an existing document", "Open"},
    {ID_FILE_SAVE, "&Save\tCtrl+S", "Save the active document", "Save"},
    {ID_FILE_SAVE_AS, "Save &As...", "Save the active document with a new name", "Save As"},
    {ID_FILE_EXPORT_HTML, "&Export as HTML...", "Save the script as a coloured HTML page", "Export as HTML"},
    {ID_FILE_MRU_FILE1, nullptr, "Open this document", nullptr},
    {ID_FILE_MRU_FILE1 + 1, nullptr, "Open this document", nullptr},
    {ID_FILE_MRU_FILE1 + 2, nullptr, "Open this document", nullptr},
    {ID_FILE_MRU_FILE4, nullptr, "Open this document", nullptr},
    {ID_APP_EXIT, "E&xit", "Quit the application; prompts to save documents", "Exit"},
    {ID_EDIT_UNDO, "&Undo\tCtrl+Z", "Undo the last action", "Undo"},
    {ID_EDIT_CUT, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard", "Cut"},
    {ID_EDIT_COPY, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard", "Copy"},
    {ID_EDIT_PASTE, "&Paste\tCtrl+V", "Insert Clipboard contents", "Paste"},
    {ID_EDIT_SELECT_ALL, "Select A&ll\tCtrl+A", "Select the entire document", "Select All"},
    {ID_EDIT_FIND, "&Find...\tCtrl+F", "Find the specified text", "Find"},
    {ID_EDIT_REPEAT, "F&ind Next\tF3", "Repeat the last action", "Repeat"},
    {ID_EDIT_REPLACE, "R&eplace\tCtrl+H", "Replace specific text with different text", "Replace"},
    {ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar", "Toggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar", "Toggle StatusBar"},
    {ID_REGENERATE_HIGHLIGHTS, "&Regenerate Syntax Highlights\tF5",
     "Regenerates syntax highlighting on entire document", "Regenerate syntax highlighting"},
    {ID_LAUNCH_SCRIPT, "&Launch script in Independence War\tF12",
     "Launches the current script in Independence War using the chosen settings",
     "Launch script in Independence War"},
    {ID_OPEN_DEBUG_FILE, "Open &debug output file\tF11",
     "Opens up the debug.txt file for the current game, showing all recent errors", "Open debug.txt"},
    {ID_CLEAR_DEBUG_FILE, "Clear debu&g output file",
     "Clears the debug.txt file for the current game, allowing new errors to be seen easily", "Clear debug.txt"},
    {ID_CREATE_BASIC_SCRIPT, "&Create Basic Script", "Creates a script that lets you get the basics of a mission going",
     "Create Basic Script"},
    {ID_CODE_SNIPPET_LIBRARY, "Code &Snippet Library...\tF8",
     "Shows the Code Snippet Library, a list of pieces of scripting code", "Show Code Snippet Library"},
    {ID_ADD_CODE_SNIPPET, "&Add Code Snippet to Library...\tCtrl+F8",
     "Adds the selected code to the Code Snippet Library", "Add selected code to Library"},
    {ID_COLOUR_REGULAR_TEXT, "&Regular Text...", "Allows you to set the colour for regular text", nullptr},
    {ID_COLOUR_COMMANDS, "&Commands...", "Allows you to set the colour for highlighting commands", nullptr},
    {ID_COLOUR_KEYWORDS, "&Keywords...", "Allows you to set the colour for highlighting keywords", nullptr},
    {ID_COLOUR_COMMENTS, "C&omments...", "Allows you to set the colour for highlighting comments", nullptr},
    {ID_COLOUR_STRINGS, "&Strings...", "Allows you to set the colour for highlighting strings", nullptr},
    {ID_COLOUR_LABELS, "&Labels...", "Allows you to set the colour for highlighting labels", nullptr},
    {ID_LAUNCH_OPTIONS, "&Launch Options...\tCtrl+F12", "Allows you to change settings for launching Independence War",
     nullptr},
    {ID_APP_HELP, "Vantrel &Help...", "Shows help information for Vantrel", "Help"},
    {ID_APP_ABOUT, "&About Vantrel...", "Display program information, version number and copyright", "About"},
    {ID_EDIT_GOTO_LINE, "&Go To Line...\tCtrl+G", "Move the caret to a line of the script", "Go To Line"},
    {ID_VIEW_LINE_NUMBERS, "Line &Numbers", "Show or hide the line numbers beside the script", nullptr},
    {ID_VIEW_DEBUG_OUTPUT, "&Debug Output", "Show or hide the game's debug.txt under the script", nullptr},
    {ID_OPTIONS_AUTO_INDENT, "&Auto Indent", "Start each new line with the indent of the line above", nullptr},
    {ID_OPTIONS_COLOUR_AS_YOU_TYPE, "Colour As You &Type", "Colour the line being edited while you type", nullptr},
    {ID_FILE_OPEN_IN_TAB, "Open in New &Tab...\tCtrl+Shift+O", "Open an existing document beside the open ones",
     "Open in New Tab"},
    {ID_FILE_CLOSE, "&Close\tCtrl+W", "Close the active document", "Close"},
    {ID_FILE_SAVE_ALL, "Save A&ll\tCtrl+Shift+S", "Save every modified document", "Save All"},
    {ID_EDIT_REDO, "&Redo\tCtrl+Y", "Redo the previously undone action", "Redo"},
    {ID_OPTIONS_OPEN_IN_TABS, "Open Scripts in Ta&bs",
     "Open each script in a tab of its own instead of in place of the active one", nullptr},
    {ID_OPEN_INCLUDED_FILE, "Open &Included File\tCtrl+I", "Opens the file named by the #INCLUDE line at the caret",
     "Open Included File"},
    {ID_SET_MISSION_SCRIPT, "Set as &Mission Script",
     "Makes this script the one launched by F12, whichever script is shown", nullptr},
    {ID_NEXT_TAB, nullptr, "Switch to the next script", "Next Script"},
    {ID_PREV_TAB, nullptr, "Switch to the previous script", "Previous Script"},
    {ID_VIEW_OUTLINE, "&Outline", "Show or hide the sections, labels and includes of the script beside it", nullptr},
    {ID_EDIT_GOTO_DEFINITION, "Go To &Definition\tF2", "Move the caret to the line that defines the label at the caret",
     "Go To Definition"},
    {ID_EDIT_GO_BACK, "Go &Back\tAlt+Left", "Return to where the last jump started", "Go Back"},
    {ID_EDIT_FIND_USES, "Find Use&s\tShift+F2", "List every line that uses the label at the caret", "Find Uses"},
    {ID_EDIT_TOGGLE_COMMENT, "Toggle Co&mment\tCtrl+/", "Comment out the selected lines, or bring them back", nullptr},
    {ID_OPTIONS_SCRIPT_HINTS, "Script &Hints", "Underline what the game would find wrong in the script", nullptr},
    {ID_NEXT_PANE, nullptr, "Switch to the next window pane", "Next Pane"},
    {ID_PREV_PANE, nullptr, "Switch back to the previous window pane", "Previous Pane"},
    {ID_OLE_EDIT_PROPERTIES, nullptr, nullptr, nullptr},
    {ID_CANCEL_EDIT_CNTR, nullptr, nullptr, nullptr},
};

using M = MenuEntry;
constexpr MenuEntry kMainMenu[] = {
    {M::PopupBegin, 0, "&File"},
    {M::Item, ID_FILE_NEW, nullptr},
    {M::Item, ID_FILE_OPEN, nullptr},
    {M::Item, ID_FILE_OPEN_IN_TAB, nullptr},
    {M::Item, ID_FILE_CLOSE, nullptr},
    {M::Item, ID_FILE_SAVE, nullptr},
    {M::Item, ID_FILE_SAVE_AS, nullptr},
    {M::Item, ID_FILE_SAVE_ALL, nullptr},
    {M::Item, ID_FILE_EXPORT_HTML, nullptr},
    {M::Separator, 0, nullptr},
    {M::RecentFiles, ID_FILE_MRU_FILE1, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_APP_EXIT, nullptr},
    {M::PopupEnd, 0, nullptr},

    {M::PopupBegin, 0, "&Edit"},
    {M::Item, ID_EDIT_UNDO, nullptr},
    {M::Item, ID_EDIT_REDO, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_EDIT_CUT, nullptr},
    {M::Item, ID_EDIT_COPY, nullptr},
    {M::Item, ID_EDIT_PASTE, nullptr},
    {M::Item, ID_EDIT_SELECT_ALL, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_EDIT_FIND, nullptr},
    {M::Item, ID_EDIT_REPEAT, nullptr},
    {M::Item, ID_EDIT_REPLACE, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_EDIT_GOTO_LINE, nullptr},
    {M::Item, ID_EDIT_TOGGLE_COMMENT, nullptr},
    {M::Item, ID_EDIT_GOTO_DEFINITION, nullptr},
    {M::Item, ID_EDIT_GO_BACK, nullptr},
    {M::Item, ID_EDIT_FIND_USES, nullptr},
    {M::PopupEnd, 0, nullptr},

    {M::PopupBegin, 0, "&View"},
    {M::Item, ID_VIEW_TOOLBAR, nullptr},
    {M::Item, ID_VIEW_STATUS_BAR, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_REGENERATE_HIGHLIGHTS, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_VIEW_LINE_NUMBERS, nullptr},
    {M::Item, ID_VIEW_DEBUG_OUTPUT, nullptr},
    {M::Item, ID_VIEW_OUTLINE, nullptr},
    {M::PopupEnd, 0, nullptr},

    {M::PopupBegin, 0, "&Script"},
    {M::Item, ID_LAUNCH_SCRIPT, nullptr},
    {M::Item, ID_SET_MISSION_SCRIPT, nullptr},
    {M::Item, ID_OPEN_INCLUDED_FILE, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_OPEN_DEBUG_FILE, nullptr},
    {M::Item, ID_CLEAR_DEBUG_FILE, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_CREATE_BASIC_SCRIPT, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_CODE_SNIPPET_LIBRARY, nullptr},
    {M::Item, ID_ADD_CODE_SNIPPET, nullptr},
    {M::PopupEnd, 0, nullptr},

    {M::PopupBegin, 0, "&Options"},
    {M::PopupBegin, 0, "&Syntax Highlighting Colours"},
    {M::Item, ID_COLOUR_REGULAR_TEXT, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_COLOUR_COMMANDS, nullptr},
    {M::Item, ID_COLOUR_KEYWORDS, nullptr},
    {M::Item, ID_COLOUR_COMMENTS, nullptr},
    {M::Item, ID_COLOUR_STRINGS, nullptr},
    {M::Item, ID_COLOUR_LABELS, nullptr},
    {M::PopupEnd, 0, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_LAUNCH_OPTIONS, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_OPTIONS_AUTO_INDENT, nullptr},
    {M::Item, ID_OPTIONS_COLOUR_AS_YOU_TYPE, nullptr},
    {M::Item, ID_OPTIONS_OPEN_IN_TABS, nullptr},
    {M::Item, ID_OPTIONS_SCRIPT_HINTS, nullptr},
    {M::PopupEnd, 0, nullptr},

    {M::PopupBegin, 0, "&Help"},
    {M::Item, ID_APP_HELP, nullptr},
    {M::Separator, 0, nullptr},
    {M::Item, ID_APP_ABOUT, nullptr},
    {M::PopupEnd, 0, nullptr},
};

constexpr auto C = Qt::ControlModifier;
constexpr auto S = Qt::ShiftModifier;
constexpr auto A = Qt::AltModifier;
constexpr Accelerator kAccelerators[] = {
    {C | Qt::Key_A, ID_EDIT_SELECT_ALL},
    {C | Qt::Key_C, ID_EDIT_COPY},
    {C | Qt::Key_F, ID_EDIT_FIND},
    {C | Qt::Key_H, ID_EDIT_REPLACE},
    {C | Qt::Key_N, ID_FILE_NEW},
    {C | Qt::Key_O, ID_FILE_OPEN},
    {C | Qt::Key_S, ID_FILE_SAVE},
    {C | Qt::Key_V, ID_EDIT_PASTE},
    {A | Qt::Key_Backspace, ID_EDIT_UNDO},
    {Qt::Key_F2, ID_EDIT_GOTO_DEFINITION},
    {S | Qt::Key_F2, ID_EDIT_FIND_USES},
    {A | Qt::Key_Left, ID_EDIT_GO_BACK},
    {S | Qt::Key_Delete, ID_EDIT_CUT},
    {QKeyCombination(Qt::Key_Escape), ID_CANCEL_EDIT_CNTR},
    {QKeyCombination(Qt::Key_F11), ID_OPEN_DEBUG_FILE},
    {QKeyCombination(Qt::Key_F12), ID_LAUNCH_SCRIPT},
    {C | Qt::Key_F12, ID_LAUNCH_OPTIONS},
    {QKeyCombination(Qt::Key_F3), ID_EDIT_REPEAT},
    {QKeyCombination(Qt::Key_F5), ID_REGENERATE_HIGHLIGHTS},
    {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
    {S | Qt::Key_F6, ID_PREV_PANE},
    {QKeyCombination(Qt::Key_F8), ID_CODE_SNIPPET_LIBRARY},
    {C | Qt::Key_F8, ID_ADD_CODE_SNIPPET},
    {C | Qt::Key_Insert, ID_EDIT_COPY},
    {S | Qt::Key_Insert, ID_EDIT_PASTE},
    {A | Qt::Key_Return, ID_OLE_EDIT_PROPERTIES},
    {C | Qt::Key_X, ID_EDIT_CUT},
    {C | Qt::Key_Z, ID_EDIT_UNDO},
    {C | Qt::Key_G, ID_EDIT_GOTO_LINE},
    {C | Qt::Key_Y, ID_EDIT_REDO},
    {C | S | Qt::Key_Z, ID_EDIT_REDO},
    {C | S | Qt::Key_O, ID_FILE_OPEN_IN_TAB},
    {C | Qt::Key_W, ID_FILE_CLOSE},
    {C | S | Qt::Key_S, ID_FILE_SAVE_ALL},
    {C | Qt::Key_Tab, ID_NEXT_TAB},
    {C | S | Qt::Key_Tab, ID_PREV_TAB},
    {C | Qt::Key_PageDown, ID_NEXT_TAB},
    {C | Qt::Key_PageUp, ID_PREV_TAB},
    {C | Qt::Key_I, ID_OPEN_INCLUDED_FILE},
    {C | Qt::Key_Slash, ID_EDIT_TOGGLE_COMMENT},
};

constexpr int kToolbar[] = {
    ID_FILE_NEW,  ID_FILE_OPEN, ID_FILE_SAVE,  0, ID_EDIT_FIND, ID_REGENERATE_HIGHLIGHTS, 0,
    ID_EDIT_CUT,  ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_CODE_SNIPPET_LIBRARY, ID_ADD_CODE_SNIPPET, 0,
    ID_LAUNCH_SCRIPT, 0, ID_APP_ABOUT,
};

// clang-format on

}  // namespace

std::span<const CommandInfo> commands() { return kCommands; }

const CommandInfo* findCommand(int id)
{
    for (const CommandInfo& c : kCommands) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

std::span<const MenuEntry> mainMenu() { return kMainMenu; }
std::span<const Accelerator> mainAccelerators() { return kAccelerators; }
std::span<const int> toolbarButtons() { return kToolbar; }

}  // namespace res
