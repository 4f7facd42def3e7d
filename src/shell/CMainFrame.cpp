#include "shell/CMainFrame.h"

#include "editor/CVantrelView.h"
#include "editor/FindReplace.h"
#include "editor/HtmlExport.h"
#include "launch/LaunchCommands.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialogs.h"
#include "platform/LockKeys.h"
#include "platform/MessageBox.h"
#include "resources/commands.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "shell/CAboutDlg.h"
#include "shell/CSplashWnd.h"
#include "shell/CVantrelApp.h"
#include "shell/CVantrelDoc.h"
#include "shell/RecentFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

using namespace ids;

namespace {

QString latin(const char* s) { return s ? QString::fromLatin1(s) : QString(); }

// The toolbar strip: 12 images of 16 by 15 pixels side by side. Pixels of
// the classic button face (192, 192, 192) are background.
QList<QIcon> toolbarIcons(int bitmapId)
{
    QList<QIcon> icons;
    QImage strip(QStringLiteral(":/bitmaps/%1.bmp").arg(bitmapId));
    if (strip.isNull())
        return icons;
    strip = strip.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0xC0C0C0)
                line[x] = 0;
        }
    }
    for (int i = 0; i < res::kToolbarImageCount; ++i) {
        const QImage img =
            strip.copy(i * res::kToolbarImageWidth, 0, res::kToolbarImageWidth, res::kToolbarImageHeight);
        icons.append(QIcon(QPixmap::fromImage(img)));
    }
    return icons;
}

}  // namespace

CMainFrame::CMainFrame(CVantrelApp* app, QWidget* parent) : QMainWindow(parent), m_app(app)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/128.png")));
    m_view = new CVantrelView(this);
    m_doc = new CVantrelDoc(m_view, this);
    m_findReplace = new FindReplace(m_view);
    setCentralWidget(m_view);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    setAcceptDrops(true);
    resize(800, 600);

    connect(m_doc, &CVantrelDoc::titleChanged, this, &CMainFrame::updateCaption);
    connect(m_view, &CVantrelView::caretLineChanged, this, [this](int line) {
        m_currentLine = line;
        OnUpdateLinePane();
    });
    connect(m_view, &QPlainTextEdit::selectionChanged, this, &CMainFrame::UpdateCommandUI);
    connect(m_view, &QPlainTextEdit::undoAvailable, this, &CMainFrame::UpdateCommandUI);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateCommandUI);
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::UpdateCommandUI);

    auto* lockTimer = new QTimer(this);
    connect(lockTimer, &QTimer::timeout, this, &CMainFrame::updateLockIndicators);
    lockTimer->start(250);

    updateCaption();
    OnUpdateLinePane();
    UpdateCommandUI();

    // The splash shows while the frame is being made, before it is visible.
    CSplashWnd::ShowSplash(this);
}

CMainFrame::~CMainFrame()
{
    // Closing the window below moves the focus; nothing may update the
    // commands of a frame that is going.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    m_actions.clear();
}

void CMainFrame::createActions()
{
    for (const res::CommandInfo& c : res::commands()) {
        if (c.id >= ID_FILE_MRU_FILE1 && c.id <= ID_FILE_MRU_FILE4)
            continue;
        auto* a = new QAction(latin(c.menuText), this);
        a->setObjectName(QStringLiteral("cmd_%1").arg(c.id));
        a->setData(c.id);
        a->setStatusTip(latin(c.prompt));
        a->setToolTip(c.tooltip ? latin(c.tooltip)
                                : QString(latin(c.menuText)).remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0));
        QList<QKeySequence> keys;
        for (const res::Accelerator& acc : res::mainAccelerators()) {
            if (acc.id == c.id)
                keys.append(QKeySequence(acc.key));
        }
        a->setShortcuts(keys);
        // Keys act wherever the frame has focus, its toolbar and view included.
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, [this, id = c.id] { OnCommand(id); });
        addAction(a);
        m_actions.insert(c.id, a);
    }
    m_actions[ID_VIEW_TOOLBAR]->setCheckable(true);
    m_actions[ID_VIEW_STATUS_BAR]->setCheckable(true);
}

void CMainFrame::createMenus()
{
    QList<QMenu*> stack;
    for (const res::MenuEntry& e : res::mainMenu()) {
        switch (e.kind) {
        case res::MenuEntry::PopupBegin: {
            QMenu* m = stack.isEmpty() ? menuBar()->addMenu(latin(e.text)) : stack.last()->addMenu(latin(e.text));
            connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
            if (stack.isEmpty() && !m_fileMenu)
                m_fileMenu = m;
            stack.append(m);
            break;
        }
        case res::MenuEntry::PopupEnd:
            stack.removeLast();
            break;
        case res::MenuEntry::Separator:
            stack.last()->addSeparator();
            break;
        case res::MenuEntry::Item:
            stack.last()->addAction(m_actions.value(e.id));
            break;
        case res::MenuEntry::RecentFiles:
            m_recentPlaceholder = stack.last()->addAction(str::kRecentFilePlaceholder);
            m_recentPlaceholder->setEnabled(false);
            break;
        }
    }
}

void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    for (QAction* a : std::as_const(m_recentActions)) {
        m_fileMenu->removeAction(a);
        m_actions.remove(a->data().toInt());
        delete a;
    }
    m_recentActions.clear();
    m_recentPlaceholder->setVisible(paths.isEmpty());
    for (int i = 0; i < paths.size() && i < RecentFiles::kSize; ++i) {
        const int id = ID_FILE_MRU_FILE1 + i;
        auto* a = new QAction(RecentFiles::menuText(i, paths[i]), this);
        a->setObjectName(QStringLiteral("cmd_%1").arg(id));
        a->setData(id);
        a->setStatusTip(latin(res::findCommand(id)->prompt));
        connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_fileMenu->insertAction(m_recentPlaceholder, a);
        m_recentActions.append(a);
        m_actions.insert(id, a);
    }
}

void CMainFrame::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolbar_%1").arg(ID_VIEW_TOOLBAR));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setIconSize(QSize(res::kToolbarImageWidth, res::kToolbarImageHeight));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    // The 24-bit strip only on the classic grey button face of a display of
    // 15 bits or more; the 16-colour strip otherwise.
    const QColor face = QApplication::palette().color(QPalette::Button);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const bool classicFace = face.red() == 192 && face.green() == 192 && face.blue() == 192;
    m_toolbarBitmap = (classicFace && screen && screen->depth() >= 15) ? IDB_TOOLBAR_24 : IDB_TOOLBAR_16;
    const QList<QIcon> icons = toolbarIcons(m_toolbarBitmap);

    int image = 0;
    for (int id : res::toolbarButtons()) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* a = m_actions.value(id);
        if (image < icons.size())
            a->setIcon(icons[image]);
        ++image;
        m_toolBar->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    connect(m_toolBar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusbar_%1").arg(ID_VIEW_STATUS_BAR));
    m_messagePane = new QLabel(str::kReady, bar);
    m_messagePane->setObjectName(QStringLiteral("pane_0"));
    bar->addWidget(m_messagePane, 1);

    const auto pane = [bar](int id, const QString& sizing) {
        auto* l = new QLabel(bar);
        l->setObjectName(QStringLiteral("pane_%1").arg(id));
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(sizing) + 8);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(l);
        return l;
    };
    m_linePane = pane(ID_INDICATOR_LINE, str::kLinePaneSizing);
    m_capsPane = pane(ID_INDICATOR_CAPS, str::kIndicatorCaps);
    m_numPane = pane(ID_INDICATOR_NUM, str::kIndicatorNum);
    m_scrlPane = pane(ID_INDICATOR_SCRL, str::kIndicatorScrl);
    updateLockIndicators();
}

void CMainFrame::updateLockIndicators()
{
    const lockkeys::State s = lockkeys::state();
    m_capsPane->setText(s.caps ? QString(str::kIndicatorCaps) : QString());
    m_numPane->setText(s.num ? QString(str::kIndicatorNum) : QString());
    m_scrlPane->setText(s.scroll ? QString(str::kIndicatorScrl) : QString());
}

QString CMainFrame::linePaneText() const { return QString(str::kLinePaneFormat).arg(m_currentLine); }

void CMainFrame::OnUpdateLinePane() { m_linePane->setText(linePaneText()); }

void CMainFrame::updateCaption() { setWindowTitle(m_doc->GetTitle() + QLatin1String(" - ") + str::kAppName); }

void CMainFrame::UpdateCommandUI()
{
    if (m_actions.isEmpty())
        return;
    m_actions[ID_EDIT_CUT]->setEnabled(CVantrelView::OnUpdateEditCopyCut());
    m_actions[ID_EDIT_COPY]->setEnabled(CVantrelView::OnUpdateEditCopyCut());
    m_actions[ID_EDIT_PASTE]->setEnabled(CVantrelView::OnUpdateEditPaste());
    m_actions[ID_EDIT_UNDO]->setEnabled(CVantrelView::OnUpdateEditUndo());
    // Commands nothing here handles stay disabled.
    for (int id : {ID_NEXT_PANE, ID_PREV_PANE, ID_OLE_EDIT_PROPERTIES, ID_CANCEL_EDIT_CNTR})
        m_actions[id]->setEnabled(false);
    if (m_toolBar)
        m_actions[ID_VIEW_TOOLBAR]->setChecked(m_toolBar->isVisibleTo(this));
    m_actions[ID_VIEW_STATUS_BAR]->setChecked(statusBar()->isVisibleTo(this));
}

void CMainFrame::OnCommand(int id)
{
    // Commands run only while their update handler enables them.
    UpdateCommandUI();
    if (QAction* a = m_actions.value(id); a && !a->isEnabled())
        return;

    switch (id) {
    case ID_FILE_NEW:
        if (m_app)
            m_app->OnFileNew();
        else if (m_doc->SaveModified())
            m_doc->OnNewDocument();
        break;
    case ID_FILE_OPEN:
        if (m_app)
            m_app->OnFileOpen();
        break;
    case ID_FILE_SAVE:
        m_doc->DoFileSave();
        break;
    case ID_FILE_SAVE_AS:
        m_doc->DoSave(QString());
        break;
    case ID_FILE_EXPORT_HTML:
        OnExportHtml();
        break;
    case ID_APP_EXIT:
        close();
        break;
    case ID_EDIT_UNDO:
        m_view->OnEditUndo();
        break;
    case ID_EDIT_CUT:
        m_view->OnEditCut();
        break;
    case ID_EDIT_COPY:
        m_view->OnEditCopy();
        break;
    case ID_EDIT_PASTE:
        m_view->OnEditPaste();
        break;
    case ID_EDIT_SELECT_ALL:
        m_view->selectAll();
        break;
    case ID_EDIT_FIND:
        m_findReplace->OnEditFind();
        break;
    case ID_EDIT_REPEAT:
        m_findReplace->OnEditRepeat();
        break;
    case ID_EDIT_REPLACE:
        m_findReplace->OnEditReplace();
        break;
    case ID_VIEW_TOOLBAR:
        m_toolBar->setVisible(!m_toolBar->isVisibleTo(this));
        break;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(!statusBar()->isVisibleTo(this));
        break;
    case ID_REGENERATE_HIGHLIGHTS:
        m_view->OnRegenerateHighlights();
        break;
    case ID_LAUNCH_SCRIPT:
        m_view->OnLaunchScript();
        break;
    case ID_OPEN_DEBUG_FILE:
        OnOpenDebugFile();
        break;
    case ID_CLEAR_DEBUG_FILE:
        OnClearDebugFile();
        break;
    case ID_CREATE_BASIC_SCRIPT:
        m_view->OnCreateBasicScript();
        break;
    case ID_CODE_SNIPPET_LIBRARY:
        m_view->OnCodeSnippetLibrary();
        break;
    case ID_ADD_CODE_SNIPPET:
        m_view->OnAddCodeSnippet();
        break;
    case ID_COLOUR_REGULAR_TEXT:
    case ID_COLOUR_COMMANDS:
    case ID_COLOUR_KEYWORDS:
    case ID_COLOUR_COMMENTS:
    case ID_COLOUR_STRINGS:
    case ID_COLOUR_LABELS:
        m_view->OnColour(id);
        break;
    case ID_LAUNCH_OPTIONS:
        m_view->OnLaunchOptions();
        break;
    case ID_APP_HELP:
        OnAppHelp();
        break;
    case ID_APP_ABOUT:
        if (m_app) {
            m_app->OnAppAbout();
        } else {
            CAboutDlg about(this);
            about.DoModal();
        }
        break;
    default:
        if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4 && m_app)
            m_app->OnOpenRecentFile(id - ID_FILE_MRU_FILE1);
        break;
    }
    emit commandHandled(id);
    UpdateCommandUI();
}

QString CMainFrame::helpPagePath()
{
    // Beside the program; an installed program keeps it with its other data.
    const QString dir = QCoreApplication::applicationDirPath();
    const QString beside = dir + QLatin1Char('/') + str::kHelpFileName;
    const QString installed = QDir::cleanPath(dir + QLatin1String("/../share/vantrel/") + str::kHelpFileName);
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

void CMainFrame::OnAppHelp() { QDesktopServices::openUrl(QUrl::fromLocalFile(helpPagePath())); }

void CMainFrame::OnOpenDebugFile() { launch::OnOpenDebugFile(this); }
void CMainFrame::OnClearDebugFile() { launch::OnClearDebugFile(this); }

void CMainFrame::OnExportHtml()
{
    const QString path = m_doc->GetPathName();
    const QString base = path.isEmpty() ? m_doc->GetTitle() : QFileInfo(path).completeBaseName();
    const QString folder = path.isEmpty() ? QString() : QFileInfo(path).absolutePath() + QLatin1Char('/');
    const QString target = filedlg::getSaveFileName(this, folder + base + QLatin1String(".html"),
                                                    str::kExportHtmlFilter, QStringLiteral("html"));
    if (target.isEmpty())
        return;
    const QByteArray page = HtmlExport::page(m_view->rawText(), m_view->m_colours,
                                             path.isEmpty() ? m_doc->GetTitle() : QFileInfo(path).fileName())
                                .toUtf8();
    QString error;
    if (!atomicfile::write(target, page, &error)) {
        mb::show(this, QString(str::kExportHtmlFailed).arg(QDir::toNativeSeparators(target), error), str::kAppName,
                 mb::MB_OK | mb::MB_ICONEXCLAMATION);
    }
}

void CMainFrame::closeEvent(QCloseEvent* e)
{
    if (!m_doc->SaveModified()) {
        e->ignore();
        return;
    }
    m_view->OnDestroy();
    if (m_app)
        m_app->OnFrameClosing();
    e->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* e)
{
    for (const QUrl& url : e->mimeData()->urls()) {
        if (url.isLocalFile()) {
            e->acceptProposedAction();
            // Open after the drop has finished: the save prompt is modal.
            QTimer::singleShot(0, this, [this, path = url.toLocalFile()] {
                if (m_app)
                    m_app->OpenDocumentFile(path);
                else if (m_doc->SaveModified())
                    m_doc->OpenWithMessages(path);
            });
            return;
        }
    }
}
