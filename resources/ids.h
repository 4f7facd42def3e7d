// Command, resource, dialog and control ids. They are the identities of the
// actions and widgets: menus, accelerators, toolbar, string table and tests all
// refer to a command or control by the number defined here.
#pragma once

namespace ids {

// Resources
inline constexpr int IDR_MAINFRAME = 128;   // menu, accelerators, toolbar, icon 128, string 128
inline constexpr int IDR_CNTR_INPLACE = 6;  // in-place container menu and accelerators
inline constexpr int IDR_DOCTYPE_ICON = 129;
inline constexpr int IDB_SPLASH = 103;
inline constexpr int IDB_ABOUT = 133;
inline constexpr int IDB_TOOLBAR_16 = 128;
inline constexpr int IDB_TOOLBAR_24 = 134;

// Dialog templates
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_LAUNCH_OPTIONS = 131;
inline constexpr int IDD_SNIPPET_LIBRARY = 132;
inline constexpr int IDD_ADD_SNIPPET = 133;

// Standard dialog buttons
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = -1;

// File
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_FILE_MRU_FILE4 = 57619;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_FILE_EXPORT_HTML = 32810;  // our own: File > Export as HTML...

// Our own editing commands, each at the end of its menu
inline constexpr int ID_EDIT_GOTO_LINE = 32811;
inline constexpr int ID_VIEW_LINE_NUMBERS = 32812;
inline constexpr int ID_VIEW_DEBUG_OUTPUT = 32813;
inline constexpr int ID_OPTIONS_AUTO_INDENT = 32814;
inline constexpr int ID_OPTIONS_COLOUR_AS_YOU_TYPE = 32815;

// Several scripts at once, includes and the mission script
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_FILE_OPEN_IN_TAB = 32840;
inline constexpr int ID_FILE_SAVE_ALL = 32841;
inline constexpr int ID_NEXT_TAB = 32842;
inline constexpr int ID_PREV_TAB = 32843;
inline constexpr int ID_OPTIONS_OPEN_IN_TABS = 32844;
inline constexpr int ID_OPEN_INCLUDED_FILE = 32845;
inline constexpr int ID_SET_MISSION_SCRIPT = 32846;
// Finding one's way through a mission: the outline, labels and their uses
inline constexpr int ID_VIEW_OUTLINE = 32850;
inline constexpr int ID_EDIT_GOTO_DEFINITION = 32851;
inline constexpr int ID_EDIT_GO_BACK = 32852;
inline constexpr int ID_EDIT_FIND_USES = 32853;
inline constexpr int ID_EDIT_TOGGLE_COMMENT = 32854;
inline constexpr int ID_OPTIONS_SCRIPT_HINTS = 32855;

// Edit
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_REPEAT = 57640;
inline constexpr int ID_EDIT_REPLACE = 57641;
inline constexpr int ID_EDIT_SELECT_ALL = 57642;
inline constexpr int ID_EDIT_UNDO = 57643;

// View
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_REGENERATE_HIGHLIGHTS = 32774;

// Script
inline constexpr int ID_LAUNCH_SCRIPT = 32784;
inline constexpr int ID_OPEN_DEBUG_FILE = 32805;
inline constexpr int ID_CLEAR_DEBUG_FILE = 32806;
inline constexpr int ID_CREATE_BASIC_SCRIPT = 32787;
inline constexpr int ID_CODE_SNIPPET_LIBRARY = 32801;
inline constexpr int ID_ADD_CODE_SNIPPET = 32802;

// Options
inline constexpr int ID_COLOUR_COMMANDS = 32776;
inline constexpr int ID_COLOUR_KEYWORDS = 32777;
inline constexpr int ID_COLOUR_REGULAR_TEXT = 32778;
inline constexpr int ID_COLOUR_STRINGS = 32779;
inline constexpr int ID_COLOUR_COMMENTS = 32780;
inline constexpr int ID_COLOUR_LABELS = 32781;
inline constexpr int ID_LAUNCH_OPTIONS = 32782;

// Help
inline constexpr int ID_APP_HELP = 32804;
inline constexpr int ID_APP_ABOUT = 57664;

// Keys without a menu item
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_OLE_EDIT_PROPERTIES = 57860;
inline constexpr int ID_CANCEL_EDIT_CNTR = 32768;

// Status bar panes
inline constexpr int ID_SEPARATOR = 0;
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;
inline constexpr int ID_INDICATOR_LINE = 61204;

// Launch Options dialog (131)
inline constexpr int IDC_F_IWAR = 1000;
inline constexpr int IDC_F_DEFI = 1001;
inline constexpr int IDC_C_NOLOGOS = 1002;
inline constexpr int IDC_C_NOSLAB = 1003;
inline constexpr int IDC_C_POWERS = 1004;
inline constexpr int IDC_C_LAGRANGE = 1006;
inline constexpr int IDC_C_NOZLOCK = 1007;
inline constexpr int IDC_C_DIRECTOR = 1008;
inline constexpr int IDC_C_NOHUD = 1009;
inline constexpr int IDC_G_VIDEO = 1010;  // first of four radio buttons, 1010..1013
inline constexpr int IDC_G_VIDEO_FULLSCREEN = 1011;
inline constexpr int IDC_G_VIDEO_640 = 1012;
inline constexpr int IDC_G_VIDEO_800 = 1013;
inline constexpr int IDC_C_DEBUG = 1014;
inline constexpr int IDC_C_CONSOLE = 1015;
inline constexpr int IDC_C_DISK = 1016;
inline constexpr int IDC_G_GAME = 1017;  // first of two radio buttons, 1017..1018
inline constexpr int IDC_G_GAME_DEFI = 1018;
inline constexpr int IDC_L_PATHCHECK = 1019;
inline constexpr int IDC_C_IWAR_EXE = 1021;
inline constexpr int IDC_C_DEFI_EXE = 1022;

// Code Snippet Library dialog (132)
inline constexpr int IDC_SNIPPET_LIST = 1021;
inline constexpr int IDC_SNIPPET_DESCRIPTION = 1022;
inline constexpr int IDC_SNIPPET_CODE = 1023;
inline constexpr int IDC_REMOVE_SNIPPET = 1024;

// Add Code Snippet dialog (133)
inline constexpr int IDC_ADD_DESCRIPTION = 1026;
inline constexpr int IDC_ADD_NAME = 1028;

}  // namespace ids
