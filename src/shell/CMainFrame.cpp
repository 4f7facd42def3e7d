#include "shell/CMainFrame.h"

#include "editor/CVantrelView.h"
#include "editor/ColourDialog.h"
#include "editor/EditorSettings.h"
#include "editor/FindReplace.h"
#include "editor/GoToLineDlg.h"
#include "editor/HtmlExport.h"
#include "editor/OutlinePanel.h"
#include "editor/UsesPanel.h"
#include "launch/DebugPanel.h"
#include "launch/LaunchCommands.h"
#include "launch/LaunchPlan.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialogs.h"
#include "platform/LockKeys.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/commands.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "shell/CSplashWnd.h"
#include "shell/CVantrelDoc.h"
#include "shell/RecentFiles.h"
#include "snippets/BasicTemplate.h"
#include "snippets/SnippetCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
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

QAction* makeAction(const res::CommandInfo& c, QObject* parent)
{
    auto* a = new QAction(latin(c.menuText), parent);
    a->setObjectName(QStringLiteral("cmd_%1").arg(c.id));
    a->setData(c.id);
    a->setStatusTip(latin(c.prompt));
    a->setToolTip(c.tooltip ? latin(c.tooltip)
                            : latin(c.menuText).remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0));
    return a;
}

bool clipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/128.png")));
    m_view = new CVantrelView(this);
    m_doc = new CVantrelDoc(*m_view, this, this);
    m_findReplace = new FindReplace(m_view);
    m_launch = new launch::LaunchCommands(this, [this] {
        return launch::ScriptState{m_doc->GetPathName(), m_doc->IsModified()};
    });
    m_snippets = new SnippetCommands(this, ProfileStore::app());
    // The game's debug output can stand under the script.
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_view);
    m_debugPanel = new DebugPanel(split);
    split->addWidget(m_debugPanel);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    connectFileCommands();
    connectEditCommands();
    connectViewCommands();
    connectScriptCommands();
    connectOptionCommands();
    connectEditorSwitches();
    setAcceptDrops(true);
    resize(800, 600);

    connect(m_doc, &CVantrelDoc::titleChanged, this, &CMainFrame::updateCaption);
    connect(m_view, &CVantrelView::caretLineChanged, this,
            [this](int line) { m_linePane->setText(QString(str::kLinePaneFormat).arg(line)); });
    updateCaption();

    // The splash shows while the frame is being made, before it is visible.
    CSplashWnd::ShowSplash(this);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::createActions()
{
    for (const res::CommandInfo& c : res::commands()) {
        if (c.id >= ID_FILE_MRU_FILE1 && c.id <= ID_FILE_MRU_FILE4)
            continue;
        QAction* a = makeAction(c, this);
        QList<QKeySequence> keys;
        for (const res::Accelerator& acc : res::mainAccelerators()) {
            if (acc.id == c.id)
                keys.append(QKeySequence(acc.key));
        }
        a->setShortcuts(keys);
        // Keys act wherever the frame has focus, its toolbar and view included.
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        m_actions.insert(c.id, a);
    }
    // Keys that nothing here handles stay disabled.
    for (int id : {ID_NEXT_PANE, ID_PREV_PANE, ID_OLE_EDIT_PROPERTIES, ID_CANCEL_EDIT_CNTR})
        m_actions[id]->setEnabled(false);
}

void CMainFrame::createMenus()
{
    QList<QMenu*> stack;
    for (const res::MenuEntry& e : res::mainMenu()) {
        switch (e.kind) {
        case res::MenuEntry::PopupBegin: {
            QMenu* m = stack.isEmpty() ? menuBar()->addMenu(latin(e.text)) : stack.last()->addMenu(latin(e.text));
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
    for (QAction* a : std::as_const(m_recentActions))
        m_actions.remove(a->data().toInt());
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    m_recentPlaceholder->setVisible(paths.isEmpty());
    for (int i = 0; i < paths.size() && i < RecentFiles::kSize; ++i) {
        QAction* a = makeAction(*res::findCommand(ID_FILE_MRU_FILE1 + i), this);
        a->setText(RecentFiles::menuText(i, paths[i]));
        connect(a, &QAction::triggered, this, [this, i] { emit recentFileChosen(i); });
        m_fileMenu->insertAction(m_recentPlaceholder, a);
        m_recentActions.append(a);
        m_actions.insert(ID_FILE_MRU_FILE1 + i, a);
    }
}

void CMainFrame::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolbar_%1").arg(ID_VIEW_TOOLBAR));
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
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusbar_%1").arg(ID_VIEW_STATUS_BAR));
    auto* message = new QLabel(str::kReady, bar);
    message->setObjectName(QStringLiteral("pane_0"));
    bar->addWidget(message, 1);

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
    m_linePane->setText(QString(str::kLinePaneFormat).arg(1));
    m_capsPane = pane(ID_INDICATOR_CAPS, str::kIndicatorCaps);
    m_numPane = pane(ID_INDICATOR_NUM, str::kIndicatorNum);
    m_scrlPane = pane(ID_INDICATOR_SCRL, str::kIndicatorScrl);
    updateLockIndicators();
    auto* lockTimer = new QTimer(this);
    connect(lockTimer, &QTimer::timeout, this, &CMainFrame::updateLockIndicators);
    lockTimer->start(250);
}

template <class Handler>
void CMainFrame::on(int id, Handler handler)
{
    connect(m_actions.value(id), &QAction::triggered, this, [handler] { handler(); });
}

void CMainFrame::connectFileCommands()
{
    on(ID_FILE_SAVE, [this] { m_doc->DoFileSave(); });
    on(ID_FILE_SAVE_AS, [this] { m_doc->DoSave(QString()); });
    on(ID_FILE_EXPORT_HTML, [this] { OnExportHtml(); });
    on(ID_APP_EXIT, [this] { close(); });
    on(ID_APP_HELP, [this] { OnAppHelp(); });
}

void CMainFrame::connectEditCommands()
{
    // The states follow the editing control itself, however a menu is opened
    // and wherever the focus is.
    QAction* cut = m_actions[ID_EDIT_CUT];
    QAction* copy = m_actions[ID_EDIT_COPY];
    QAction* paste = m_actions[ID_EDIT_PASTE];
    QAction* undo = m_actions[ID_EDIT_UNDO];
    cut->setEnabled(false);
    copy->setEnabled(false);
    undo->setEnabled(false);
    connect(m_view, &QPlainTextEdit::copyAvailable, this, [this, cut, copy](bool any) {
        copy->setEnabled(any);
        cut->setEnabled(any && !m_view->isReadOnly());
    });
    connect(m_view, &QPlainTextEdit::undoAvailable, undo, &QAction::setEnabled);
    const auto updatePaste = [this, paste] { paste->setEnabled(!m_view->isReadOnly() && clipboardHasText()); };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, updatePaste);
    connect(m_doc, &CVantrelDoc::titleChanged, this, updatePaste);  // a document opened read-only
    updatePaste();

    on(ID_EDIT_UNDO, [this] { m_view->OnEditUndo(); });
    on(ID_EDIT_CUT, [this] { m_view->OnEditCut(); });
    on(ID_EDIT_COPY, [this] { m_view->OnEditCopy(); });
    on(ID_EDIT_PASTE, [this] { m_view->OnEditPaste(); });
    on(ID_EDIT_SELECT_ALL, [this] { m_view->selectAll(); });
    on(ID_EDIT_FIND, [this] { m_findReplace->OnEditFind(); });
    on(ID_EDIT_REPEAT, [this] { m_findReplace->OnEditRepeat(); });
    on(ID_EDIT_REPLACE, [this] { m_findReplace->OnEditReplace(); });
    on(ID_EDIT_GOTO_LINE, [this] { GoToLineDlg::run(m_view); });
    on(ID_EDIT_TOGGLE_COMMENT, [this] { m_view->OnEditToggleComment(); });
    on(ID_EDIT_GO_TO_DEFINITION, [this] { m_view->OnEditGoToDefinition(); });
    on(ID_EDIT_GO_BACK, [this] { m_view->OnEditGoBack(); });
}

void CMainFrame::connectViewCommands()
{
    QAction* toolbar = m_actions[ID_VIEW_TOOLBAR];
    QAction* status = m_actions[ID_VIEW_STATUS_BAR];
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    status->setCheckable(true);
    status->setChecked(true);
    connect(toolbar, &QAction::triggered, m_toolBar, &QToolBar::setVisible);
    // A toolbar closed while floating unticks its item.
    connect(m_toolBar, &QToolBar::visibilityChanged, this,
            [this, toolbar] { toolbar->setChecked(m_toolBar->isVisibleTo(this)); });
    connect(status, &QAction::triggered, statusBar(), &QStatusBar::setVisible);
    on(ID_REGENERATE_HIGHLIGHTS, [this] { m_view->OnRegenerateHighlights(); });
}

void CMainFrame::connectScriptCommands()
{
    on(ID_LAUNCH_SCRIPT, [this] { m_launch->OnLaunchScript(); });
    on(ID_OPEN_DEBUG_FILE, [this] { m_launch->OnOpenDebugFile(); });
    on(ID_CLEAR_DEBUG_FILE, [this] {
        m_launch->OnClearDebugFile();
        m_debugPanel->reload();
    });
    connect(m_debugPanel, &DebugPanel::openRequested, m_actions[ID_OPEN_DEBUG_FILE], &QAction::trigger);
    connect(m_debugPanel, &DebugPanel::clearRequested, m_actions[ID_CLEAR_DEBUG_FILE], &QAction::trigger);
    connect(m_launch, &launch::LaunchCommands::gameEnded, m_debugPanel, &DebugPanel::reload);
    connect(m_launch, &launch::LaunchCommands::launchSettingsChanged, m_debugPanel, &DebugPanel::reload);

    on(ID_CREATE_BASIC_SCRIPT, [this] {
        if (m_snippets->OnCreateBasicScript())
            m_view->replaceScript(BasicTemplate::text());
    });
    on(ID_CODE_SNIPPET_LIBRARY, [this] { m_snippets->OnCodeSnippetLibrary(); });
    on(ID_ADD_CODE_SNIPPET, [this] {
        QString selected = m_view->textCursor().selectedText();
        selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        m_snippets->OnAddCodeSnippet(selected);
    });
    connect(m_snippets, &SnippetCommands::insertSnippet, m_view, &CVantrelView::insertScriptText);
}

void CMainFrame::connectOptionCommands()
{
    for (const SyntaxColours::Row& row : SyntaxColours::rows())
        on(row.commandId, [this, id = row.commandId] { OnColour(id); });
    on(ID_LAUNCH_OPTIONS, [this] { m_launch->OnLaunchOptions(); });
}

void CMainFrame::connectEditorSwitches()
{
    // Switches of our own, each a checkable command kept in the settings, and
    // the panels that read the script index.
    EditorSettings settings;
    settings.read(ProfileStore::app());
    const auto toggle = [this](int id, bool on, auto apply) {
        QAction* a = m_actions[id];
        a->setCheckable(true);
        a->setChecked(on);
        apply(on);
        connect(a, &QAction::toggled, this, apply);
    };
    toggle(ID_VIEW_LINE_NUMBERS, settings.lineNumbers, [this](bool on) { m_view->setLineNumbersVisible(on); });
    toggle(ID_VIEW_DEBUG_OUTPUT, settings.debugOutput, [this](bool on) { m_debugPanel->setVisible(on); });
    toggle(ID_OPTIONS_AUTO_INDENT, settings.autoIndent, [this](bool on) { m_view->setAutoIndent(on); });
    toggle(ID_OPTIONS_COLOUR_AS_YOU_TYPE, settings.colourAsYouType,
           [this](bool on) { m_view->setColourAsYouType(on); });
    toggle(ID_OPTIONS_SCRIPT_HINTS, settings.scriptHints, [this](bool on) { m_view->setHintsShown(on); });

    // The outline stands at the left of the script.
    auto* dock = new QDockWidget(str::kOutlineCaption, this);
    dock->setObjectName(QStringLiteral("OutlineDock"));
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* outline = new OutlinePanel(dock);
    outline->setView(m_view);
    dock->setWidget(outline);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    toggle(ID_VIEW_OUTLINE, settings.outline, [dock](bool on) { dock->setVisible(on); });
    connect(dock->toggleViewAction(), &QAction::toggled, m_actions[ID_VIEW_OUTLINE], &QAction::setChecked);

    // Find Uses lists its lines under the script, shown when asked.
    auto* usesDock = new QDockWidget(str::kUsesCaption, this);
    usesDock->setObjectName(QStringLiteral("UsesDock"));
    usesDock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* uses = new UsesPanel(usesDock);
    usesDock->setWidget(uses);
    addDockWidget(Qt::BottomDockWidgetArea, usesDock);
    usesDock->hide();
    connect(m_actions[ID_EDIT_FIND_USES], &QAction::triggered, this, [this, uses, usesDock] {
        if (uses->findUses(m_view)) {
            usesDock->show();
            uses->setFocus();
        }
    });

    // Included files are looked for beside the script, then in the folder of
    // the game the launch settings choose, as they stand when hints are found.
    m_view->setIncludeFolders([this] {
        const QString path = m_doc->GetPathName();
        const QString game = launch::chosenGameFolder(
            launch::LaunchSettings::read(ProfileStore::app(), launch::LaunchSettings::launchDefaults()));
        return std::pair(path.isEmpty() ? QString() : QFileInfo(path).absolutePath(), game);
    });
    connect(m_view, &CVantrelView::caretHintChanged, this, [this](const QString& hint) {
        if (auto* message = statusBar()->findChild<QLabel*>(QStringLiteral("pane_0")))
            message->setText(hint.isEmpty() ? QString(str::kReady) : hint);
    });
}

void CMainFrame::writeEditorSettings() const
{
    EditorSettings settings;
    settings.lineNumbers = m_actions[ID_VIEW_LINE_NUMBERS]->isChecked();
    settings.debugOutput = m_actions[ID_VIEW_DEBUG_OUTPUT]->isChecked();
    settings.autoIndent = m_actions[ID_OPTIONS_AUTO_INDENT]->isChecked();
    settings.colourAsYouType = m_actions[ID_OPTIONS_COLOUR_AS_YOU_TYPE]->isChecked();
    settings.scriptHints = m_actions[ID_OPTIONS_SCRIPT_HINTS]->isChecked();
    settings.outline = m_actions[ID_VIEW_OUTLINE]->isChecked();
    settings.write(ProfileStore::app());
}

void CMainFrame::OnColour(int commandId)
{
    const SyntaxColours::Row* row = SyntaxColours::rowForCommand(commandId);
    if (const auto colour = colourdialog::ChooseSyntaxColour(this, *row, m_view->colours().*row->field))
        m_view->setColour(*row, *colour);
}

void CMainFrame::updateLockIndicators()
{
    const lockkeys::State s = lockkeys::state();
    m_capsPane->setText(s.caps ? QString(str::kIndicatorCaps) : QString());
    m_numPane->setText(s.num ? QString(str::kIndicatorNum) : QString());
    m_scrlPane->setText(s.scroll ? QString(str::kIndicatorScrl) : QString());
}

void CMainFrame::updateCaption()
{
    // A modified script is marked in the caption, as editors do.
    const QString mark = m_doc->IsModified() ? QStringLiteral("*") : QString();
    setWindowTitle(m_doc->GetTitle() + mark + QLatin1String(" - ") + str::kAppName);
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

void CMainFrame::OnExportHtml()
{
    const QString path = m_doc->GetPathName();
    const QString base = path.isEmpty() ? m_doc->GetTitle() : QFileInfo(path).completeBaseName();
    const QString folder = path.isEmpty() ? QString() : QFileInfo(path).absolutePath() + QLatin1Char('/');
    const QString target = filedlg::getSaveFileName(this, folder + base + QLatin1String(".html"),
                                                    str::kExportHtmlFilter, QStringLiteral("html"));
    if (target.isEmpty())
        return;
    const QString nativeTarget = QDir::toNativeSeparators(target);
    // The page must never take the place of the script it shows.
    if (!path.isEmpty() && atomicfile::sameFile(path, target)) {
        mb::show(this, QString(str::kExportHtmlOntoScript).arg(nativeTarget), str::kAppName,
                 mb::MB_OK | mb::MB_ICONEXCLAMATION);
        return;
    }
    const QString title = path.isEmpty() ? m_doc->GetTitle() : QFileInfo(path).fileName();
    const QString error = HtmlExport::exportText(m_view->rawTextView(), m_view->colours(), title, target);
    if (!error.isEmpty()) {
        mb::show(this, QString(str::kExportHtmlFailed).arg(nativeTarget, error), str::kAppName,
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
    writeEditorSettings();
    // The library window goes with the frame, so that nothing keeps the program running.
    m_snippets->libraryWindow()->close();
    emit closing();
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
            QTimer::singleShot(0, this, [this, path = url.toLocalFile()] { emit fileDropped(path); });
            return;
        }
    }
}
