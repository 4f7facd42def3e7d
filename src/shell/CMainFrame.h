// The main window: menus, accelerators, toolbar and status bar around the
// view. Every command is a QAction built once from the command table and
// connected to the subsystem that handles it.
#pragma once

#include "editor/EditorSettings.h"
#include "platform/SettingsNotice.h"

#include <QHash>
#include <QMainWindow>

#include <memory>

class DebugPanel;
class OutlinePanel;
class SnippetCommands;
namespace launch {
class LaunchCommands;
}
class CVantrelDoc;
class CVantrelView;
class FindReplace;
class QAction;
class QLabel;
class QMenu;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CVantrelView* view() const { return m_view; }
    CVantrelDoc* document() const { return m_doc; }
    FindReplace* findReplace() const { return m_findReplace; }
    QAction* action(int id) const { return m_actions.value(id, nullptr); }

    void SetRecentFiles(const QStringList& paths);
    // Which toolbar strip is shown: 134 (24-bit) or 128 (16 colours).
    int toolbarBitmapId() const { return m_toolbarBitmap; }

    static QString helpPagePath();

signals:
    void recentFileChosen(int index);
    // A file was dropped on the window, to be opened as the document.
    void fileDropped(const QString& path);
    // The user agreed to close (after the save prompt): the window is going.
    void closing();

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void connectFileCommands();
    void connectEditCommands();
    void connectViewCommands();
    void connectScriptCommands();
    void connectOptionCommands();
    void connectEditorSwitches();
    void writeEditorSettings() const;
    template <class Handler>
    void on(int id, Handler handler);
    void updateLockIndicators();
    void updateCaption();
    void OnAppHelp();
    void OnExportHtml();
    void OnColour(int commandId);

    CVantrelView* m_view = nullptr;
    CVantrelDoc* m_doc = nullptr;
    FindReplace* m_findReplace = nullptr;
    DebugPanel* m_debugPanel = nullptr;
    OutlinePanel* m_outline = nullptr;
    launch::LaunchCommands* m_launch = nullptr;
    SnippetCommands* m_snippets = nullptr;
    QHash<int, QAction*> m_actions;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_linePane = nullptr;
    QLabel* m_capsPane = nullptr;
    QLabel* m_numPane = nullptr;
    QLabel* m_scrlPane = nullptr;
    int m_toolbarBitmap = 128;
    // The switches as read at start: only those changed since are written.
    EditorSettings m_switchesRead;
    std::unique_ptr<SettingsNotice> m_settingsNotice;
};
