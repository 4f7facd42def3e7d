// The program's own texts: captions, messages, section and entry names.
// Every text the user sees is defined here once and used from here.
#pragma once

#include <QLatin1String>

namespace str {

using T = QLatin1String;

// Application and document type
inline constexpr T kAppName("Vantrel");  // 57344
inline constexpr T kReady("Ready");      // 57345
inline constexpr T kUntitled("Untitled");
inline constexpr T kDocFilterName("Independence War Script Files (*.iws)");
inline constexpr T kDocFilterExt(".iws");
inline constexpr T kDocFileTypeId("IndependenceWar.Script");
inline constexpr T kDocFileTypeName("Independence War Script");
inline constexpr T kAllFilesFilter("All Files (*)");
inline constexpr T kProductDescription("Vantrel - Independence War Script Editor");
inline constexpr T kVersion("1.1 final");
inline constexpr T kHelpFileName("VantrelHelp.html");
inline constexpr T kMimeType("text/x-iwar-script");
inline constexpr T kDesktopFileName("vantrel.desktop");

// Status bar
inline constexpr T kLinePaneFormat("Line %1");
inline constexpr T kLinePaneSizing("Line 12345");
inline constexpr T kIndicatorCaps("CAP");
inline constexpr T kIndicatorNum("NUM");
inline constexpr T kIndicatorScrl("SCRL");
inline constexpr T kRecentFilePlaceholder("Recent File");

// Settings store sections and entries
inline constexpr T kSectionColours("Syntax Colours");
inline constexpr T kSectionLaunch("Launch Settings");
inline constexpr T kSectionSnippets("Code Snippet Library");
inline constexpr T kSectionRecentFiles("Recent File List");
inline constexpr T kRecentFileEntry("File%1");
inline constexpr T kEntryRegularText("Regular Text");
inline constexpr T kEntryCommands("Commands");
inline constexpr T kEntryKeywords("Keywords");
inline constexpr T kEntryStrings("Strings");
inline constexpr T kEntryComments("Comments");
inline constexpr T kEntryLabels("Labels");

// Captions
inline constexpr T kColourDialogCaption("%1 Colour");  // %1: the colour's settings entry
inline constexpr T kCaptionConfirm("Vantrel");
inline constexpr T kCaptionError("Vantrel Error");
inline constexpr T kCaptionLaunchError("Vantrel Launch Error");
inline constexpr T kCaptionLaunchWarning("Vantrel Launch Warning");
inline constexpr T kCaptionSnippetError("Code Snippet Library Error");

// Game launch
inline constexpr T kLaunchNoGame(
    "You must choose which game to launch in the Launch Options dialog before you can launch your script!");
inline constexpr T kLaunchNoIwarExe(
    "The name of the game executable for Independence War is not set. You must set this now in the Launch "
    "Options dialog before you can launch your script!");
inline constexpr T kLaunchNoDefiExe(
    "The name of the game executable for Independence War - Defiance is not set. You must set this now in the "
    "Launch Options dialog before you can launch your script!");
inline constexpr T kLaunchNoFolder(
    "You must set the executable location in the Launch Options dialog before you can launch your script!");
inline constexpr T kLaunchNotSaved("You must save the script before you can launch it!");
inline constexpr T kLaunchPathWarning(
    "The path to this script file has spaces in it. Independence War doesn't accept a script on the command "
    "line with spaces in it.\n\nIf you choose to continue, Vantrel will attempt to change the Windows path into "
    "the shorter DOS format path, which Independence War will accept. However, in some circumstances, this will "
    "not work. If it doesn't, try moving the script to another folder before trying again.\n\nDo you want to "
    "continue launching the script?");
inline constexpr T kLaunchCouldNotStart("The game could not be started:\n%1\n\n%2");
inline constexpr T kLaunchNoWine(
    "It is a Windows program, but \"wine\" was not found on the PATH. Install Wine to launch the game on this "
    "system.");

// Debug output file
inline constexpr T kDebugNoGame("You must choose which game's debug.txt to open in the Launch Options dialog first!");
inline constexpr T kDebugNotFound(
    "Error - unable to find debug.txt. Either you have your folder settings wrong, or you haven't had a script "
    "error (yet).");
inline constexpr T kDebugNotFoundClear(
    "Error - unable to find debug.txt. Either you have your folder settings wrong, or you haven't had a script "
    "error (yet). For safety reasons, the file must exist before you can clear it.");
inline constexpr T kDebugClearQuestion("Warning: debug.txt is about to be cleared. Are you sure you want to continue?");
inline constexpr T kDebugClearFailed("debug.txt could not be cleared and has been left as it was:\n%1\n\n%2");
inline constexpr T kDebugFileName("debug.txt");
inline constexpr T kHelpOpenFailed(
    "The system could not show the help page %1: no program is set up to show web pages, or it failed. Open the "
    "page with a web browser of your choice.");
inline constexpr T kDebugOpenFailed(
    "The system could not open %1: no program is set up to show text files, or it failed. Open it with a text "
    "editor of your choice.");

// Snippets and template
inline constexpr T kSnippetLibraryFull(
    "Maximum number of code snippets reached. Try removing some before adding more.");
inline constexpr T kBasicScriptQuestion(
    "Warning: The new basic script will completely overwrite your current script. Do you want to continue?");

// Document files
inline constexpr T kSaveChangesQuestion("Save changes to %1?");
inline constexpr T kOpenFailed("Cannot open the file %1.\n\n%2");
inline constexpr T kSaveFailed("The file %1 could not be saved. The file on disk has been left as it was.\n\n%2");
inline constexpr T kSaveUnencodable(
    "The script cannot be saved: line %1 holds the character \"%2\", which cannot be stored in a script file "
    "(8-bit Windows-1252 text). Remove or replace it, then save again. The file on disk has been left as it was.");
inline constexpr T kOpenedReadOnly(
    "%1 has a line of %2 characters. Lines longer than %3 characters cannot be edited, so the file is open for "
    "reading only, with its long lines shown cut at %3 characters. It will not be changed on disk.");
inline constexpr T kReadOnlyNotSaved("%1 is open for reading only and has not been saved.");
inline constexpr T kCommandLineOpenFailed("Vantrel could not open the script %1.\n\n%2");
inline constexpr T kNotRegularFile("not a regular file");
inline constexpr T kScriptTooLarge("larger than 256 MB, too large for a script");

// Changes on disk and recovered work
inline constexpr T kChangedOnDiskReload("%1 was changed by another program. Reload it?");
inline constexpr T kChangedOnDiskLoseChanges("%1 was changed by another program. Reload it and lose your changes?");
inline constexpr T kSaveOverChanges("%1 was changed by another program since it was opened. Save over those changes?");
// A copy of unsaved changes that could not be written. %1: the folder of the
// copies, %2: the system's reason.
inline constexpr T kRecoveryNotKept(
    "Vantrel could not keep a copy of your unsaved changes in %1:\n%2\n\nIf Vantrel or the system stops before "
    "you save, the changes made since the last save are lost. Save your work.");
inline constexpr T kRecoverQuestion("Vantrel found unsaved changes to %1 from %2. Recover them?");  // %2: date and time

// Find and replace
inline constexpr T kFindCaption("Find");
inline constexpr T kReplaceCaption("Replace");
inline constexpr T kFindWhat("Fi&nd what:");
inline constexpr T kReplaceWith("Re&place with:");
inline constexpr T kMatchWholeWord("Match &whole word only");
inline constexpr T kMatchCase("Match &case");
inline constexpr T kDirection("Direction");
inline constexpr T kDirectionUp("&Up");
inline constexpr T kDirectionDown("&Down");
inline constexpr T kFindNextButton("&Find Next");
inline constexpr T kReplaceButton("&Replace");
inline constexpr T kReplaceAllButton("Replace &All");
inline constexpr T kCancelButton("Cancel");
inline constexpr T kNotFound("Cannot find the string '%1'.");
inline constexpr T kReplacedCount("Replaced %1 occurrence(s) of '%2'.");
inline constexpr T kReplacingAll("Replacing every '%1'...");

// HTML export
inline constexpr T kExportHtmlFilter("HTML Pages (*.html *.htm)");
inline constexpr T kExportHtmlFailed("The HTML page %1 could not be written.\n\n%2");
inline constexpr T kExportHtmlOntoScript(
    "The HTML page cannot be written to %1: that is the script itself. Choose another name for the page.");

// Command line
inline constexpr T kUsage(
    "Usage: vantrel [OPTION]... [SCRIPT]\n"
    "Edit Independence War mission scripts (.iws).\n"
    "\n"
    "  SCRIPT                     open this script at start-up\n"
    "      --export-html SCRIPT [OUT]\n"
    "                             write SCRIPT as a coloured HTML page to OUT,\n"
    "                             or to standard output, and exit\n"
    "      --check SCRIPT...      print the hints of each SCRIPT as\n"
    "                             PATH:LINE:COLUMN: warning: TEXT and exit:\n"
    "                             0 none, 1 hints, 2 a script not read\n"
    "  -h, --help                 show this help and exit\n"
    "  -v, --version              show the version and exit\n"
    "  -Embedding, -Automation    start without the splash screen\n");
inline constexpr T kUnknownOption("vantrel: unknown option '%1'\nTry 'vantrel --help' for more information.\n");
inline constexpr T kMissingScript(
    "vantrel: --export-html needs a SCRIPT\nTry 'vantrel --help' for more information.\n");
inline constexpr T kCheckMissingScript(
    "vantrel: --check needs at least one SCRIPT\nTry 'vantrel --help' for more information.\n");
inline constexpr T kCheckHintLine("%1:%2:%3: warning: %4\n");
inline constexpr T kEditorModuleMissing("vantrel: the editor cannot be started: %1\n");
inline constexpr T kCannotRead("vantrel: cannot read '%1': %2\n");
inline constexpr T kCannotWrite("vantrel: cannot write '%1': %2\n");
inline constexpr T kExportOntoScript("vantrel: will not write the page to '%1': it is the script itself\n");

// Command line: HTML export to standard output
inline constexpr T kCannotWriteOutput("vantrel: cannot write the page to standard output: %1\n");

// Script hints
inline constexpr T kHintLabelTwice("The label %1 is defined more than once (also on line %2).");
inline constexpr T kHintNoLabel("No label named %1 in this script or its includes.");
inline constexpr T kHintNoLabelUnknownInclude(
    "No label named %1 in this script; it may be in %2, which could not be found.");
inline constexpr T kHintIncludeMissing("The included file %1 cannot be found (looked in %2).");
inline constexpr T kHintOpenString("This string is not closed on its line.");

// Outline

// Editing basics
inline constexpr T kSectionEditor("Editor");
inline constexpr T kEntryLineNumbers("Line Numbers");
inline constexpr T kEntryAutoIndent("Auto Indent");
inline constexpr T kEntryColourAsYouType("Colour As You Type");
inline constexpr T kEntryDebugOutput("Debug Output");
inline constexpr T kEntryOutline("Outline");
inline constexpr T kOutlineFilter("Filter by name");
inline constexpr T kOutlineIncludes("Includes");
inline constexpr T kOutlineProblems("Problems");
inline constexpr T kOutlineProblemFormat("%1: %2");
inline constexpr T kOutlineLineTip("Line %1");
inline constexpr T kUsesHeading("Uses of %1: %2");
inline constexpr T kUsesEntry("%1(%2): %3");
inline constexpr T kNoLabelAtCaret("Put the cursor on the name of a label first.");
inline constexpr T kNoDefinition("No label named %1 in this script or its includes.");
inline constexpr T kNothingToGoBackTo("There is no place to go back to.");
inline constexpr T kEntryScriptHints("Script Hints");
inline constexpr T kGoToLineCaption("Go To Line");
inline constexpr T kGoToLineLabel("&Line number (1 - %1):");
inline constexpr T kOkButton("OK");
inline constexpr T kDebugPanelOpen("Open");
inline constexpr T kDebugPanelClear("Clear");
inline constexpr T kDebugPanelNoGame(
    "No game is chosen, so there is no debug.txt to show. Choose the game in Options > Launch Options.");
inline constexpr T kDebugPanelMissing(
    "There is no debug.txt at %1 yet. Either the game's folder is set wrongly in Launch Options, or the game has "
    "not reported a script error yet.");
inline constexpr T kDebugPanelTail("%1 (the last %2 KB of %3 KB)");

// Several scripts, includes, the mission script and the error log's links
inline constexpr T kEntryOpenInTabs("Open Scripts in Tabs");
inline constexpr T kEntryWindowPlacement("Window Placement");
inline constexpr T kIncludeFilterName("Include Files (*.shp;*.scr)");
inline constexpr T kFindWrappedDown("Passed the end of the script; continued from the top.");
inline constexpr T kFindWrappedUp("Passed the start of the script; continued from the bottom.");
inline constexpr T kNoIncludeAtCaret("Put the caret on a line \"#INCLUDE NAME\" to open the file it names.");
inline constexpr T kFileNotFoundIn("Cannot find the file %1. Looked in:\n%2");
inline constexpr T kNoFolderToSearch("(no folder: save the script or choose the game in Launch Options)");
inline constexpr T kChooseFileCaption("Open Included File");
inline constexpr T kChooseFileLabel("&Files matching %1:");
inline constexpr T kMissionScriptTip("Mission script: F12 launches it");
inline constexpr T kLaunchOtherModified(
    "%1 has unsaved changes. Save it before launching: the game would run it as it is on disk.");
// Settings that could not be stored. %1: which setting (one of the names
// below), %2: the settings file, %3: the system's reason.
inline constexpr T kSettingsNotStored(
    "%1 could not be stored in the settings file %2:\n%3\n\nThe change stays in effect until Vantrel is closed, "
    "and Vantrel stores it with the next change of settings that succeeds.");
inline constexpr T kSettingsNoScratchRoom("there is no room for a working copy in %1");
inline constexpr T kSettingColours("The syntax highlighting colours");
inline constexpr T kSettingLaunch("The launch options");
inline constexpr T kSettingSnippets("The code snippet library");
inline constexpr T kSettingRecentFiles("The recent file list");
inline constexpr T kSettingEditor("The switches of the View and Options menus");
inline constexpr T kSettingOther("The settings of section \"%1\"");

}  // namespace str
