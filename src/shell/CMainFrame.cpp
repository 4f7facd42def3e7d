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
#include "launch/LaunchSettings.h"
#include "platform/AtomicFile.h"
#include "platform/DesktopOpener.h"
#include "platform/FileDialogs.h"
#include "platform/FileLookup.h"
#include "platform/LockKeys.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/commands.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "shell/CSplashWnd.h"
#include "shell/CVantrelDoc.h"
#include "shell/ChooseFileDlg.h"
#include "shell/DocumentSet.h"
#include "shell/MissionNavigator.h"
#include "shell/RecentFiles.h"
#include "snippets/BasicTemplate.h"
#include "snippets/SnippetCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
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
    m_settingsNotice = std::make_unique<SettingsNotice>(ProfileStore::app(), this);
    m_scripts = new DocumentSet(this);
    m_findReplace = new FindReplace(this, [this] { return view(); });
    m_launch = new launch::LaunchCommands(this, [this] {
        // F12 launches the mission script whichever script is shown; the
        // game reads every file of the mission from disk.
        CVantrelDoc* target = m_scripts->missionScript() ? m_scripts->missionScript() : document();
        launch::ScriptState state{target->GetPathName(), target->IsModified(), QString()};
        for (int i = 0; i < m_scripts->count() && state.otherModified.isEmpty(); ++i) {
            if (m_scripts->document(i) != target && m_scripts->document(i)->IsModified())
                state.otherModified = m_scripts->document(i)->GetTitle();
        }
        return state;
    });
    m_snippets = new SnippetCommands(this, ProfileStore::app());
    // The game's debug output can stand under the script.
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_scripts->tabs());
    m_debugPanel = new DebugPanel(split);
    split->addWidget(m_debugPanel);
    // A label's uses are listed there too, when asked for.
    m_uses = new UsesPanel(split);
    m_uses->hide();
    split->addWidget(m_uses);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setStretchFactor(2, 1);
    // The outline stands beside the script and its debug output.
    auto* sides = new QSplitter(Qt::Horizontal, this);
    sides->addWidget(split);
    m_outline = new OutlinePanel(sides);
    sides->addWidget(m_outline);
    sides->setStretchFactor(0, 4);
    sides->setStretchFactor(1, 1);
    sides->setCollapsible(1, false);
    sides->setSizes({600, 200});
    setCentralWidget(sides);

    m_navigator = new MissionNavigator(
        *m_scripts, [this] { return gameFolder(); }, [this](const QString& path) { return openInNewTab(path); }, this);

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
    connectScriptSwitching();
    setAcceptDrops(true);
    resize(800, 600);
    // Where the user left the window, maximised or not.
    restoreGeometry(QByteArray::fromBase64(
        ProfileStore::app().getString(str::kSectionEditor, str::kEntryWindowPlacement, QString()).toLatin1()));

    // The splash shows while the frame is being made, before it is visible.
    CSplashWnd::ShowSplash(this);
}

CMainFrame::~CMainFrame() = default;

CVantrelView* CMainFrame::view() const { return m_scripts->activeView(); }
CVantrelDoc* CMainFrame::document() const { return m_scripts->activeDocument(); }

bool CMainFrame::openInTabs() const { return m_actions[ID_OPTIONS_OPEN_IN_TABS]->isChecked(); }

void CMainFrame::connectScriptSwitching()
{
    connect(m_scripts, &DocumentSet::added, this, &CMainFrame::setUpView);
    connect(m_scripts, &DocumentSet::activeChanged, this, &CMainFrame::onActiveChanged);
    connect(m_scripts, &DocumentSet::titleChanged, this, [this](CVantrelDoc* doc) {
        if (doc == document()) {
            updateCaption();
            updatePaste();  // a document opened read-only
        }
    });
    connect(m_scripts, &DocumentSet::closeRequested, this, &CMainFrame::closeScript);
    m_scripts->add();
}

void CMainFrame::setUpView(CVantrelView* v)
{
    // What is one per program reaches every script: the colours and the switches.
    if (CVantrelView* first = m_scripts->view(0)) {
        for (const SyntaxColours::Row& row : SyntaxColours::rows()) {
            if (v->colours().*row.field != first->colours().*row.field)
                v->setColour(row, first->colours().*row.field);
        }
    }
    v->setLineNumbersVisible(m_actions[ID_VIEW_LINE_NUMBERS]->isChecked());
    v->setAutoIndent(m_actions[ID_OPTIONS_AUTO_INDENT]->isChecked());
    v->setColourAsYouType(m_actions[ID_OPTIONS_COLOUR_AS_YOU_TYPE]->isChecked());
    // Opened from the event loop, not inside the click: a choice or a message may be asked.
    connect(
        v, &CVantrelView::includeClicked, this,
        [this](const QString& name) { openNamedFile(name, scriptFolder(document())); }, Qt::QueuedConnection);
    // Hints look for included files beside the script, then in the chosen
    // game's folder, as they stand when the hints are found.
    v->setIncludeFolders([this, v] {
        const CVantrelDoc* doc = nullptr;
        for (int i = 0; i < m_scripts->count() && !doc; ++i)
            doc = m_scripts->view(i) == v ? m_scripts->document(i) : nullptr;
        return std::pair(scriptFolder(doc), gameFolder());
    });
    v->setHintsShown(m_actions[ID_OPTIONS_SCRIPT_HINTS]->isChecked());
    connect(
        v, &CVantrelView::wordClicked, this, [this](const QString& word) { m_navigator->goToDefinition(word); },
        Qt::QueuedConnection);
}

void CMainFrame::onActiveChanged()
{
    for (const QMetaObject::Connection& c : std::as_const(m_activeConnections))
        disconnect(c);
    m_activeConnections.clear();
    CVantrelView* v = view();
    if (!v)
        return;
    // The edit states follow the script shown, and only it.
    QAction* cut = m_actions[ID_EDIT_CUT];
    QAction* copy = m_actions[ID_EDIT_COPY];
    const auto copyState = [v, cut, copy](bool any) {
        copy->setEnabled(any);
        cut->setEnabled(any && !v->isReadOnly());
    };
    m_activeConnections << connect(v, &QPlainTextEdit::copyAvailable, this, copyState)
                        << connect(v, &QPlainTextEdit::undoAvailable, m_actions[ID_EDIT_UNDO], &QAction::setEnabled)
                        << connect(v, &QPlainTextEdit::redoAvailable, m_actions[ID_EDIT_REDO], &QAction::setEnabled)
                        << connect(v, &QPlainTextEdit::cursorPositionChanged, this, &CMainFrame::updateLinePane)
                        << connect(v, &CVantrelView::caretHintChanged, this, &CMainFrame::showCaretHint)
                        << connect(v, &CVantrelView::hintsUpdated, this,
                                   [this, v] { m_outline->setProblems(v->hints()); });
    showCaretHint(v->caretHint());
    m_outline->setProblems(v->hints());
    copyState(v->textCursor().hasSelection());
    m_actions[ID_EDIT_UNDO]->setEnabled(v->document()->isUndoAvailable());
    m_actions[ID_EDIT_REDO]->setEnabled(v->document()->isRedoAvailable());
    m_actions[ID_SET_MISSION_SCRIPT]->setChecked(m_scripts->missionScript() == document());
    m_outline->setView(v);
    updatePaste();
    updateLinePane();
    updateCaption();
    // The keys follow the script shown, unless they are in the debug panel.
    if (!m_debugPanel->isAncestorOf(QApplication::focusWidget()))
        v->setFocus();
}

void CMainFrame::showCaretHint(const QString& hint)
{
    // The hint of the caret's line stands where the menu prompts do.
    if (auto* message = statusBar()->findChild<QLabel*>(QStringLiteral("pane_0")))
        message->setText(hint.isEmpty() ? QString(str::kReady) : hint);
}

void CMainFrame::updateLinePane()
{
    // The caret's own line, also while a selection grows from it.
    m_linePane->setText(QString(str::kLinePaneFormat).arg(view()->textCursor().blockNumber() + 1));
}

void CMainFrame::updatePaste()
{
    m_actions[ID_EDIT_PASTE]->setEnabled(view() && !view()->isReadOnly() && clipboardHasText());
}

bool CMainFrame::bringForward(const QString& path)
{
    const int open = m_scripts->indexOfPath(path);
    if (open >= 0)
        m_scripts->setActive(open);
    return open >= 0;
}

bool CMainFrame::openInNewTab(const QString& path)
{
    if (bringForward(path))
        return true;
    CVantrelDoc* active = document();
    // An Untitled script never touched is no work to keep.
    if (active->GetPathName().isEmpty() && !active->IsModified())
        return active->OpenWithMessages(path);
    // Shown before it is filled: the text is laid out once, for the size it
    // is shown at.
    const int previous = m_scripts->activeIndex();
    const int index = m_scripts->add();
    m_scripts->setActive(index);
    if (!m_scripts->document(index)->OpenWithMessages(path)) {
        m_scripts->remove(index);
        m_scripts->setActive(previous);
        return false;
    }
    return true;
}

void CMainFrame::newTab()
{
    CVantrelDoc* active = document();
    if (active->GetPathName().isEmpty() && !active->IsModified())
        return;
    m_scripts->setActive(m_scripts->add());
}

void CMainFrame::closeScript(int index)
{
    CVantrelDoc* doc = m_scripts->document(index);
    if (!doc)
        return;
    // The question names the script; it is shown while it is asked about.
    m_scripts->setActive(index);
    if (!doc->SaveModified())
        return;
    if (m_scripts->count() > 1) {
        m_scripts->remove(index);
    } else {
        if (m_scripts->missionScript() == doc)
            m_scripts->setMissionScript(nullptr);
        doc->OnNewDocument();
        onActiveChanged();
    }
}

void CMainFrame::saveAll()
{
    for (int i = 0; i < m_scripts->count(); ++i) {
        CVantrelDoc* doc = m_scripts->document(i);
        if (!doc->IsModified())
            continue;
        if (doc->GetPathName().isEmpty())
            m_scripts->setActive(i);  // Save As names the script it asks about
        if (!doc->DoFileSave())
            return;
    }
}

bool CMainFrame::saveModifiedScripts()
{
    // Each modified script in turn, shown as it is asked about; Cancel keeps them all.
    for (int i = 0; i < m_scripts->count(); ++i) {
        CVantrelDoc* doc = m_scripts->document(i);
        if (!doc->IsModified())
            continue;
        m_scripts->setActive(i);
        if (!doc->SaveModified())
            return false;
    }
    return true;
}

QString CMainFrame::gameFolder() const
{
    return launch::chosenGameFolder(
        launch::LaunchSettings::read(ProfileStore::app(), launch::LaunchSettings::launchDefaults()));
}

QString CMainFrame::scriptFolder(const CVantrelDoc* doc) const
{
    return doc && !doc->GetPathName().isEmpty() ? QFileInfo(doc->GetPathName()).absolutePath() : QString();
}

void CMainFrame::openNamedFile(const QString& name, const QString& folder, int line)
{
    const filelookup::Result found = filelookup::find(name, folder, gameFolder());
    if (found.matches.isEmpty()) {
        const QString searched =
            found.searched.isEmpty() ? QString(str::kNoFolderToSearch) : found.searched.join(QLatin1Char('\n'));
        mb::show(this, QString(str::kFileNotFoundIn).arg(name, searched), str::kAppName,
                 mb::MB_OK | mb::MB_ICONEXCLAMATION);
        return;
    }
    const QString path =
        found.matches.size() == 1 ? found.matches.first() : ChooseFileDlg::choose(name, found.matches, this);
    // A file the script names opens beside it, whatever the tabs switch says.
    if (path.isEmpty() || !openInNewTab(path))
        return;
    if (line > 0)
        view()->showLine(line);
    view()->setFocus();
}

void CMainFrame::OnOpenIncludedFile()
{
    const QString name = view()->includeAtCaret();
    if (name.isEmpty()) {
        mb::show(this, str::kNoIncludeAtCaret, str::kAppName, mb::MB_OK | mb::MB_ICONEXCLAMATION);
        return;
    }
    openNamedFile(name, scriptFolder(document()));
}

void CMainFrame::openLogLocation(const QString& file, int line)
{
    CVantrelDoc* mission = m_scripts->missionScript() ? m_scripts->missionScript() : document();
    if (file.isEmpty()) {
        m_scripts->setActive(m_scripts->indexOf(mission));
        view()->showLine(line);
        view()->setFocus();
        return;
    }
    // Named files are looked for as includes are: beside the mission script first.
    openNamedFile(file, scriptFolder(mission), line);
}

void CMainFrame::stepPane(int by)
{
    // The script and each shown panel, in turn.
    QList<QWidget*> panes{view()};
    for (QWidget* panel :
         {static_cast<QWidget*>(m_debugPanel), static_cast<QWidget*>(m_uses), static_cast<QWidget*>(m_outline)}) {
        if (panel->isVisible())
            panes.append(panel);
    }
    QWidget* focus = QApplication::focusWidget();
    int at = 0;
    for (int i = 0; i < panes.size(); ++i) {
        if (panes[i] == focus || panes[i]->isAncestorOf(focus))
            at = i;
    }
    panes[(at + by + panes.size()) % panes.size()]->setFocus(Qt::TabFocusReason);
}

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
    for (int id : {ID_OLE_EDIT_PROPERTIES, ID_CANCEL_EDIT_CNTR})
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
    on(ID_FILE_SAVE, [this] { document()->DoFileSave(); });
    on(ID_FILE_SAVE_AS, [this] { document()->DoSave(QString()); });
    on(ID_FILE_SAVE_ALL, [this] { saveAll(); });
    on(ID_FILE_CLOSE, [this] { closeScript(m_scripts->activeIndex()); });
    on(ID_FILE_OPEN_IN_TAB, [this] {
        const QString start = scriptFolder(document());
        const QString path = filedlg::getOpenFileName(this, start, openFileFilter());
        if (!path.isEmpty())
            openInNewTab(path);
    });
    on(ID_NEXT_TAB, [this] { m_scripts->step(1); });
    on(ID_PREV_TAB, [this] { m_scripts->step(-1); });
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
    for (QAction* a : {cut, copy, paste, m_actions[ID_EDIT_UNDO], m_actions[ID_EDIT_REDO]})
        a->setEnabled(false);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::updatePaste);

    on(ID_EDIT_UNDO, [this] { view()->OnEditUndo(); });
    on(ID_EDIT_REDO, [this] { view()->OnEditRedo(); });
    on(ID_EDIT_CUT, [this] { view()->OnEditCut(); });
    on(ID_EDIT_COPY, [this] { view()->OnEditCopy(); });
    on(ID_EDIT_PASTE, [this] { view()->OnEditPaste(); });
    on(ID_EDIT_SELECT_ALL, [this] { view()->selectAll(); });
    on(ID_EDIT_FIND, [this] { m_findReplace->OnEditFind(); });
    on(ID_EDIT_REPEAT, [this] { m_findReplace->OnEditRepeat(); });
    on(ID_EDIT_REPLACE, [this] { m_findReplace->OnEditReplace(); });
    on(ID_EDIT_GOTO_LINE, [this] { GoToLineDlg::run(view()); });
    on(ID_EDIT_GOTO_DEFINITION, [this] { m_navigator->goToDefinition(); });
    on(ID_EDIT_GO_BACK, [this] { m_navigator->goBack(); });
    on(ID_EDIT_FIND_USES, [this] { m_navigator->findUses(); });
    connect(m_navigator, &MissionNavigator::message, this,
            [this](const QString& text) { statusBar()->showMessage(text, 5000); });
    connect(m_navigator, &MissionNavigator::usesFound, m_uses, &UsesPanel::showUses);
    connect(m_uses, &UsesPanel::placeChosen, m_navigator, &MissionNavigator::goTo);
    connect(m_uses, &UsesPanel::leaveRequested, this, [this] { view()->setFocus(); });
    // A line chosen in the outline is a jump that Go Back returns from.
    connect(m_outline, &OutlinePanel::aboutToChoose, m_navigator, &MissionNavigator::noteJumpStart);
    connect(m_findReplace, &FindReplace::wrapped, this,
            [this](const QString& message) { statusBar()->showMessage(message, 5000); });
    on(ID_EDIT_TOGGLE_COMMENT, [this] { view()->OnEditToggleComment(); });
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
    on(ID_REGENERATE_HIGHLIGHTS, [this] { view()->OnRegenerateHighlights(); });
    on(ID_NEXT_PANE, [this] { stepPane(1); });
    on(ID_PREV_PANE, [this] { stepPane(-1); });
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
    connect(m_debugPanel, &DebugPanel::lineLinkActivated, this, &CMainFrame::openLogLocation);
    on(ID_OPEN_INCLUDED_FILE, [this] { OnOpenIncludedFile(); });
    QAction* mission = m_actions[ID_SET_MISSION_SCRIPT];
    mission->setCheckable(true);
    connect(mission, &QAction::triggered, this,
            [this](bool on) { m_scripts->setMissionScript(on ? document() : nullptr); });

    on(ID_CREATE_BASIC_SCRIPT, [this] {
        if (m_snippets->OnCreateBasicScript())
            view()->replaceScript(BasicTemplate::text());
    });
    on(ID_CODE_SNIPPET_LIBRARY, [this] { m_snippets->OnCodeSnippetLibrary(); });
    on(ID_ADD_CODE_SNIPPET, [this] {
        QString selected = view()->textCursor().selectedText();
        selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        m_snippets->OnAddCodeSnippet(selected);
    });
    connect(m_snippets, &SnippetCommands::insertSnippet, this,
            [this](const QString& code) { view()->insertScriptText(code); });
}

void CMainFrame::connectOptionCommands()
{
    for (const SyntaxColours::Row& row : SyntaxColours::rows())
        on(row.commandId, [this, id = row.commandId] { OnColour(id); });
    on(ID_LAUNCH_OPTIONS, [this] { m_launch->OnLaunchOptions(); });
}

void CMainFrame::connectEditorSwitches()
{
    // Four switches of our own, each a checkable command kept in the settings.
    EditorSettings& settings = m_switchesRead;
    settings.read(ProfileStore::app());
    const auto toggle = [this](int id, bool on, auto apply) {
        QAction* a = m_actions[id];
        a->setCheckable(true);
        a->setChecked(on);
        apply(on);
        connect(a, &QAction::toggled, this, apply);
    };
    // Every open script follows a switch; scripts opened later take it up as they come.
    const auto eachView = [this](auto apply) {
        return [this, apply](bool on) {
            for (int i = 0; i < m_scripts->count(); ++i)
                (m_scripts->view(i)->*apply)(on);
        };
    };
    toggle(ID_VIEW_LINE_NUMBERS, settings.lineNumbers, eachView(&CVantrelView::setLineNumbersVisible));
    toggle(ID_VIEW_DEBUG_OUTPUT, settings.debugOutput, [this](bool on) {
        m_debugPanel->setVisible(on);
        // A panel first shown after the window was laid out would come up with
        // no room for its lines: it takes a quarter of the height.
        auto* split = qobject_cast<QSplitter*>(m_debugPanel->parentWidget());
        const QList<int> sizes = split->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (on && total > 0 && sizes.value(1) < m_debugPanel->minimumSizeHint().height() * 2)
            split->setSizes({total - total / 4, total / 4});
    });
    toggle(ID_VIEW_OUTLINE, settings.outline, [this](bool on) { m_outline->setVisible(on); });
    toggle(ID_OPTIONS_AUTO_INDENT, settings.autoIndent, eachView(&CVantrelView::setAutoIndent));
    toggle(ID_OPTIONS_COLOUR_AS_YOU_TYPE, settings.colourAsYouType, eachView(&CVantrelView::setColourAsYouType));
    toggle(ID_OPTIONS_OPEN_IN_TABS, settings.openInTabs, [](bool) {});
    toggle(ID_OPTIONS_SCRIPT_HINTS, settings.scriptHints, eachView(&CVantrelView::setHintsShown));
}

void CMainFrame::writeEditorSettings() const
{
    EditorSettings settings;
    settings.lineNumbers = m_actions[ID_VIEW_LINE_NUMBERS]->isChecked();
    settings.debugOutput = m_actions[ID_VIEW_DEBUG_OUTPUT]->isChecked();
    settings.outline = m_actions[ID_VIEW_OUTLINE]->isChecked();
    settings.autoIndent = m_actions[ID_OPTIONS_AUTO_INDENT]->isChecked();
    settings.colourAsYouType = m_actions[ID_OPTIONS_COLOUR_AS_YOU_TYPE]->isChecked();
    settings.openInTabs = m_actions[ID_OPTIONS_OPEN_IN_TABS]->isChecked();
    settings.scriptHints = m_actions[ID_OPTIONS_SCRIPT_HINTS]->isChecked();
    settings.write(ProfileStore::app(), &m_switchesRead);
}

void CMainFrame::OnColour(int commandId)
{
    const SyntaxColours::Row* row = SyntaxColours::rowForCommand(commandId);
    // One set of colours for every open script.
    if (const auto colour = colourdialog::ChooseSyntaxColour(this, *row, view()->colours().*row->field)) {
        for (int i = 0; i < m_scripts->count(); ++i)
            m_scripts->view(i)->setColour(*row, *colour);
    }
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
    const QString mark = document()->IsModified() ? QStringLiteral("*") : QString();
    setWindowTitle(document()->GetTitle() + mark + QLatin1String(" - ") + str::kAppName);
}

QString CMainFrame::openFileFilter()
{
    // Scripts stay the first choice; the files they include come next.
    return QString(str::kDocFilterName) + QLatin1String(";;") + str::kIncludeFilterName + QLatin1String(";;") +
           str::kAllFilesFilter;
}

QString CMainFrame::helpPagePath()
{
    // Beside the program; an installed program keeps it with its other data.
    const QString dir = QCoreApplication::applicationDirPath();
    const QString beside = dir + QLatin1Char('/') + str::kHelpFileName;
    const QString installed = QDir::cleanPath(dir + QLatin1String("/../share/vantrel/") + str::kHelpFileName);
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

void CMainFrame::OnAppHelp() { desktop::openFile(this, helpPagePath(), str::kHelpOpenFailed); }

void CMainFrame::OnExportHtml()
{
    const QString path = document()->GetPathName();
    const QString base = path.isEmpty() ? document()->GetTitle() : QFileInfo(path).completeBaseName();
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
    const QString title = path.isEmpty() ? document()->GetTitle() : QFileInfo(path).fileName();
    const QString error = HtmlExport::exportText(view()->rawTextView(), view()->colours(), title, target);
    if (!error.isEmpty()) {
        mb::show(this, QString(str::kExportHtmlFailed).arg(nativeTarget, error), str::kAppName,
                 mb::MB_OK | mb::MB_ICONEXCLAMATION);
    }
}

void CMainFrame::closeEvent(QCloseEvent* e)
{
    if (!saveModifiedScripts()) {
        e->ignore();
        return;
    }
    for (int i = 0; i < m_scripts->count(); ++i) {
        m_scripts->document(i)->discardRecovery();
        m_scripts->view(i)->OnDestroy();
    }
    writeEditorSettings();
    ProfileStore::app().writeString(str::kSectionEditor, str::kEntryWindowPlacement,
                                    QString::fromLatin1(saveGeometry().toBase64()));
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
