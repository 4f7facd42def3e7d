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
class DocumentSet;
class MissionNavigator;
class UsesPanel;
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

    // The active script: every command asks for it when it runs.
    CVantrelView* view() const;
    CVantrelDoc* document() const;
    DocumentSet* scripts() const { return m_scripts; }
    FindReplace* findReplace() const { return m_findReplace; }
    DebugPanel* debugPanel() const { return m_debugPanel; }
    QAction* action(int id) const { return m_actions.value(id, nullptr); }

    void SetRecentFiles(const QStringList& paths);
    // Which toolbar strip is shown: 134 (24-bit) or 128 (16 colours).
    int toolbarBitmapId() const { return m_toolbarBitmap; }

    static QString helpPagePath();
    // File > Open's list of types: scripts (the default), include files, all files.
    static QString openFileFilter();

    // Options > Open Scripts in Tabs: New, Open and the rest open a tab each.
    bool openInTabs() const;
    // Brings the tab of the script saved at path forward; false when it is not open.
    bool bringForward(const QString& path);
    // Opens path in a tab of its own (an untouched Untitled script gives its
    // place), or brings it forward when it is open; false when it cannot be
    // read (the user was told).
    bool openInNewTab(const QString& path);
    // A new Untitled script in a tab of its own.
    void newTab();

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
    void connectScriptSwitching();
    void setUpView(CVantrelView* view);
    void onActiveChanged();
    void updateLinePane();
    void showCaretHint(const QString& hint);
    void updatePaste();
    void writeEditorSettings() const;
    void closeScript(int index);
    void saveAll();
    bool saveModifiedScripts();
    QString gameFolder() const;
    QString scriptFolder(const CVantrelDoc* doc) const;
    void openNamedFile(const QString& name, const QString& folder, int line = 0);
    void OnOpenIncludedFile();
    void openLogLocation(const QString& file, int line);
    void stepPane(int by);
    template <class Handler>
    void on(int id, Handler handler);
    void updateLockIndicators();
    void updateCaption();
    void OnAppHelp();
    void OnExportHtml();
    void OnColour(int commandId);

    DocumentSet* m_scripts = nullptr;
    QList<QMetaObject::Connection> m_activeConnections;  // to the active script only
    FindReplace* m_findReplace = nullptr;
    DebugPanel* m_debugPanel = nullptr;
    OutlinePanel* m_outline = nullptr;
    UsesPanel* m_uses = nullptr;
    MissionNavigator* m_navigator = nullptr;
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
