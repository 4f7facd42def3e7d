// The main window: menus, accelerators, toolbar and status bar around the
// view; routes every command to its handler.
#pragma once

#include <QHash>
#include <QMainWindow>

class CVantrelApp;
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
    // app may be null (a frame without the application's file commands).
    explicit CMainFrame(CVantrelApp* app = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CVantrelView* view() const { return m_view; }
    CVantrelDoc* document() const { return m_doc; }
    FindReplace* findReplace() const { return m_findReplace; }
    QAction* action(int id) const { return m_actions.value(id, nullptr); }
    QToolBar* toolBar() const { return m_toolBar; }
    QMenu* recentFilesMenuParent() const { return m_fileMenu; }

    // Runs a command by its id, as a menu item, key or button would.
    void OnCommand(int id);
    // Enables, disables and checks the commands as things stand now.
    void UpdateCommandUI();

    void SetRecentFiles(const QStringList& paths);

    int m_currentLine = 1;
    QString linePaneText() const;
    QLabel* linePane() const { return m_linePane; }
    QLabel* messagePane() const { return m_messagePane; }
    // Which toolbar strip is shown: 134 (24-bit) or 128 (16 colours).
    int toolbarBitmapId() const { return m_toolbarBitmap; }

    void OnAppHelp();
    static QString helpPagePath();
    void OnOpenDebugFile();
    void OnClearDebugFile();
    void OnExportHtml();
    void OnUpdateLinePane();
    void updateCaption();

signals:
    // A command ran: it was enabled and its handler has returned.
    void commandHandled(int id);

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void updateLockIndicators();

    CVantrelApp* m_app;
    CVantrelView* m_view = nullptr;
    CVantrelDoc* m_doc = nullptr;
    FindReplace* m_findReplace = nullptr;
    QHash<int, QAction*> m_actions;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_linePane = nullptr;
    QLabel* m_capsPane = nullptr;
    QLabel* m_numPane = nullptr;
    QLabel* m_scrlPane = nullptr;
    int m_toolbarBitmap = 128;
};
