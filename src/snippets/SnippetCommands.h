// The snippet and template commands of the Script menu: Code Snippet
// Library, Add Code Snippet to Library and Create Basic Script. The shell
// connects its actions to the slots, hands over the selected text, and
// inserts what insertSnippet asks for.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class CSnippetLibraryDlg;
class ProfileStore;
class QWidget;

class SnippetCommands : public QObject {
    Q_OBJECT
public:
    // Loads the library from the store and creates the library dialog,
    // hidden, as a window of owner's (the main frame): a dialog of its own
    // beside the frame that closes with it and never keeps the program
    // running. owner also parents the commands' message boxes and dialogs.
    SnippetCommands(QWidget* owner, ProfileStore& store);
    ~SnippetCommands() override;

    // The library dialog, for the frame to close when it closes.
    QWidget* libraryWindow() const;

public slots:
    // Shows the library dialog as it was left; the first time beside the frame.
    void OnCodeSnippetLibrary();
    // Asks for a name and a description and stores selectedText under them.
    void OnAddCodeSnippet(const QString& selectedText);
    // Asks whether the script may be overwritten: true when the shell is to
    // replace it with BasicTemplate::text().
    bool OnCreateBasicScript();

signals:
    // The user chose a snippet in the library (double-click, or Enter on
    // the selected entry): insert its code at the caret, over the selection.
    void insertSnippet(const QString& code);

private:
    void placeBesideOwner();

    QWidget* m_owner;
    QPointer<CSnippetLibraryDlg> m_library;
    bool m_placed = false;
};
