#include "launch/DebugPanel.h"

#include "launch/ErrorLogLine.h"
#include "launch/LaunchPlan.h"
#include "launch/LaunchSettings.h"
#include "platform/LongLines.h"
#include "platform/ProfileStore.h"
#include "platform/RegularFile.h"
#include "platform/ScriptFont.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

// More than this is not shown: the newest errors are at the end. What the
// game appends is added to the text until it shows twice this much; then the
// end of the file is read afresh.
constexpr qint64 kMaxShown = 1024 * 1024;
// Bytes before the end of what is shown that must still be there for the
// file to count as grown rather than written anew.
constexpr qint64 kCheckedBytes = 64;
// While the game keeps writing, the text is brought up to date this often.
constexpr int kRefreshMs = 150;

}  // namespace

DebugPanel::DebugPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("debugPanel"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("debugStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* open = new QPushButton(str::kDebugPanelOpen, this);
    auto* clear = new QPushButton(str::kDebugPanelClear, this);
    open->setObjectName(QStringLiteral("debugOpen"));
    clear->setObjectName(QStringLiteral("debugClear"));
    connect(open, &QPushButton::clicked, this, &DebugPanel::openRequested);
    connect(clear, &QPushButton::clicked, this, &DebugPanel::clearRequested);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("debugText"));
    m_text->setReadOnly(true);
    m_text->setUndoRedoEnabled(false);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The arrow keys walk the lines; the line with the caret stands out, as
    // Enter opens the script line it names.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->installEventFilter(this);
    m_text->viewport()->installEventFilter(this);
    connect(m_text, &QPlainTextEdit::cursorPositionChanged, this, &DebugPanel::markCurrentLine);
    setFocusProxy(m_text);
    scriptfont::apply(m_text);

    auto* top = new QHBoxLayout;
    top->addWidget(m_status, 1);
    top->addWidget(open);
    top->addWidget(clear);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_text, 1);

    // A throttle, not a debounce: the first change of a burst starts the
    // timer and later ones leave it running, so a game that writes every few
    // milliseconds is still shown a few times a second.
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshMs);
    const auto changed = [this] {
        if (!m_refresh.isActive())
            m_refresh.start();
    };
    // A change of the file itself is always read (it may keep its size and
    // time); a change in its folder only when the file looks different.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this, changed] {
        m_seen = Seen{};
        changed();
    });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, changed);
    connect(&m_refresh, &QTimer::timeout, this, &DebugPanel::onDiskChange);
    reload();
}

int DebugPanel::currentLine() const { return m_text->textCursor().blockNumber(); }

void DebugPanel::markCurrentLine()
{
    QTextEdit::ExtraSelection line;
    line.cursor = m_text->textCursor();
    line.cursor.clearSelection();
    line.format.setBackground(m_text->palette().alternateBase());
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    m_text->setExtraSelections({line});
}

bool DebugPanel::activateLine(int line)
{
    const std::optional<launch::LogLocation> at =
        launch::parseErrorLogLine(m_text->document()->findBlockByNumber(line).text());
    if (!at)
        return false;
    emit lineLinkActivated(at->file, at->line);
    return true;
}

bool DebugPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && activateLine(currentLine()))
            return true;
    } else if (watched == m_text->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (activateLine(m_text->cursorForPosition(pos).blockNumber()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DebugPanel::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (m_stale)
        reload();
}

void DebugPanel::reload()
{
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    const launch::DebugTarget target = launch::debugTarget(
        launch::LaunchSettings::read(ProfileStore::app(), launch::LaunchSettings::launchDefaults()));
    m_path = target.path;
    m_seen = Seen{};
    m_shown = Shown{};
    if (target.refusal) {
        watch(QString());
        m_text->clear();
        m_status->setText(str::kDebugPanelNoGame);
        return;
    }
    onDiskChange();
}

void DebugPanel::onDiskChange()
{
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    if (m_path.isEmpty())
        return;
    // The folder is watched too: the game may delete the file and write a new
    // one, which a watch on the old file alone would never see.
    watch(m_path);
    const QFileInfo info(m_path);
    Seen seen{m_path, info.isFile(), info.isFile() ? info.size() : -1,
              info.isFile() ? info.lastModified() : QDateTime()};
    // Other files coming and going in the game's folder change nothing here.
    if (seen == m_seen)
        return;
    m_seen = seen;
    display(seen);
}

void DebugPanel::display(const Seen& seen)
{
    QFile file;
    // Shown as the system names it: a doubled separator from the folder setting reads as one.
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(seen.path));
    if (!seen.present || !regularfile::open(file, seen.path, QIODevice::ReadOnly)) {
        m_shown = Shown{};
        m_text->clear();
        m_status->setText(QString(str::kDebugPanelMissing).arg(native));
        return;
    }
    const qint64 size = file.size();
    if (!appendGrowth(file, size))
        showTail(file, size);
    const bool tail = m_shown.end - m_shown.bytes > 0;
    m_status->setText(
        tail ? QString(str::kDebugPanelTail)
                   .arg(native, QString::number((m_shown.bytes + 1023) / 1024), QString::number(size / 1024))
             : native);
    // The newest lines are at the end: keep them in view.
    m_text->moveCursor(QTextCursor::End);
    m_text->verticalScrollBar()->setValue(m_text->verticalScrollBar()->maximum());
}

bool DebugPanel::appendGrowth(QFile& file, qint64 size)
{
    // Only what was appended is read and added, so a refresh costs what the
    // game wrote since the last one, not the size of the file.
    const qint64 checked = m_shown.lastBytes.size();
    if (m_shown.end < 0 || size < m_shown.end || m_shown.bytes + (size - m_shown.end) > 2 * kMaxShown)
        return false;
    if (!file.seek(m_shown.end - checked))
        return false;
    QByteArray bytes = file.read(size - m_shown.end + checked);
    if (bytes.size() != size - m_shown.end + checked || !bytes.startsWith(m_shown.lastBytes))
        return false;
    bytes.remove(0, checked);
    showBytes(bytes, size, true);
    return true;
}

void DebugPanel::showTail(QFile& file, qint64 size)
{
    // The end of the file, at most kMaxShown bytes, from the start of a line.
    const bool cut = size > kMaxShown;
    file.seek(cut ? size - kMaxShown : 0);
    QByteArray bytes = file.read(kMaxShown);
    if (cut)
        bytes.remove(0, bytes.indexOf('\n') + 1);
    m_shown = Shown{};
    showBytes(bytes, file.pos(), false);
}

void DebugPanel::showBytes(QByteArray bytes, qint64 end, bool append)
{
    // A line break written in two pieces would otherwise count as two.
    if (bytes.endsWith('\r')) {
        bytes.chop(1);
        --end;
    }
    QString text = textcodec::decode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Lines cut as the editor cuts them: laying out a line of megabytes
    // would hold up the editor for every refresh.
    QString shown;
    shown.reserve(text.size());
    longlines::appendCut(shown, text, m_shown.column);
    if (append) {
        if (!shown.isEmpty()) {
            QTextCursor c(m_text->document());
            c.movePosition(QTextCursor::End);
            c.insertText(shown);
        }
    } else {
        m_text->setPlainText(shown);
    }
    m_shown.lastBytes = (m_shown.lastBytes + bytes).right(kCheckedBytes);
    m_shown.bytes += bytes.size();
    m_shown.end = end;
}

void DebugPanel::watch(const QString& path)
{
    const QStringList old = m_watcher.files() + m_watcher.directories();
    if (!old.isEmpty())
        m_watcher.removePaths(old);
    if (path.isEmpty())
        return;
    // Watched again every time: a file replaced on disk is a new file.
    const QFileInfo info(path);
    if (info.absoluteDir().exists())
        m_watcher.addPath(info.absolutePath());
    if (info.isFile())
        m_watcher.addPath(path);
}
