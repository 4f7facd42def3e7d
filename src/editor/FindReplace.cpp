#include "editor/FindReplace.h"

#include "editor/CVantrelView.h"
#include "platform/MessageBox.h"
#include "resources/strings.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

FindReplaceDlg::FindReplaceDlg(bool replace, QWidget* parent) : QDialog(parent)
{
    setObjectName(replace ? QStringLiteral("replaceDialog") : QStringLiteral("findDialog"));
    setWindowTitle(replace ? QString(str::kReplaceCaption) : QString(str::kFindCaption));
    setModal(false);

    auto* top = new QHBoxLayout(this);
    top->addLayout(buildFields(replace), 1);
    top->addLayout(buildButtons(replace));

    const auto updateButtons = [this] {
        const bool any = !m_find->text().isEmpty();
        for (QPushButton* b : {m_findNext, m_replaceOne, m_replaceAll}) {
            if (b)
                b->setEnabled(any);
        }
    };
    connect(m_find, &QLineEdit::textChanged, this, updateButtons);
    updateButtons();
}

QLayout* FindReplaceDlg::buildFields(bool replace)
{
    auto* grid = new QGridLayout;
    const auto field = [this, grid](int row, QLatin1String label, const QString& name) {
        auto* l = new QLabel(label, this);
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        l->setBuddy(e);
        grid->addWidget(l, row, 0);
        grid->addWidget(e, row, 1);
        return e;
    };
    m_find = field(0, str::kFindWhat, QStringLiteral("findWhat"));
    if (replace)
        m_replace = field(1, str::kReplaceWith, QStringLiteral("replaceWith"));

    m_wholeWord = new QCheckBox(str::kMatchWholeWord, this);
    m_matchCase = new QCheckBox(str::kMatchCase, this);
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);
    auto* options = new QHBoxLayout;
    options->addLayout(checks);
    if (!replace) {
        auto* direction = new QGroupBox(str::kDirection, this);
        m_up = new QRadioButton(str::kDirectionUp, direction);
        auto* down = new QRadioButton(str::kDirectionDown, direction);
        down->setChecked(true);
        auto* dl = new QHBoxLayout(direction);
        dl->addWidget(m_up);
        dl->addWidget(down);
        options->addWidget(direction);
    }

    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addLayout(options);
    left->addStretch();
    return left;
}

QLayout* FindReplaceDlg::buildButtons(bool replace)
{
    auto* buttons = new QVBoxLayout;
    const auto button = [this, buttons](QLatin1String text, void (FindReplaceDlg::*signal)()) {
        auto* b = new QPushButton(text, this);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, signal);
        return b;
    };
    m_findNext = button(str::kFindNextButton, &FindReplaceDlg::findNext);
    m_findNext->setDefault(true);
    if (replace) {
        m_replaceOne = button(str::kReplaceButton, &FindReplaceDlg::replaceOne);
        m_replaceAll = button(str::kReplaceAllButton, &FindReplaceDlg::replaceAll);
    }
    auto* cancel = new QPushButton(str::kCancelButton, this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    buttons->addStretch();
    return buttons;
}

FindOptions FindReplaceDlg::options() const
{
    FindOptions o;
    o.matchCase = m_matchCase->isChecked();
    o.wholeWord = m_wholeWord->isChecked();
    o.up = m_up && m_up->isChecked();
    return o;
}

FindReplace::FindReplace(QWidget* owner, ActiveScript activeScript)
    : QObject(owner), m_owner(owner), m_activeScript(std::move(activeScript))
{
}

void FindReplace::showDialog(bool replace)
{
    QPointer<FindReplaceDlg>& dlg = replace ? m_replaceDlg : m_findDlg;
    QPointer<FindReplaceDlg>& other = replace ? m_findDlg : m_replaceDlg;
    if (other)
        other->hide();
    if (!dlg) {
        dlg = new FindReplaceDlg(replace, m_owner);
        FindReplaceDlg* d = dlg;
        connect(d, &FindReplaceDlg::findNext, this, [this, d] { findNext(d->findEdit()->text(), d->options()); });
        if (replace) {
            connect(d, &FindReplaceDlg::replaceOne, this,
                    [this, d] { replaceOne(d->findEdit()->text(), d->replaceEdit()->text(), d->options()); });
            connect(d, &FindReplaceDlg::replaceAll, this,
                    [this, d] { replaceAll(d->findEdit()->text(), d->replaceEdit()->text(), d->options()); });
        }
    }
    // Start from the selected text, or the last search.
    const QString selected = m_activeScript()->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        dlg->findEdit()->setText(selected);
    else if (!m_lastWhat.isEmpty())
        dlg->findEdit()->setText(m_lastWhat);
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
    dlg->findEdit()->setFocus();
    dlg->findEdit()->selectAll();
}

void FindReplace::OnEditFind() { showDialog(false); }
void FindReplace::OnEditReplace() { showDialog(true); }

void FindReplace::OnEditRepeat()
{
    if (m_lastWhat.isEmpty()) {
        OnEditFind();
        return;
    }
    findNext(m_lastWhat, m_lastOptions);
}

void FindReplace::notFound(const QString& what)
{
    mb::show(m_owner, QString(str::kNotFound).arg(what), str::kAppName, mb::MB_OK | mb::MB_ICONINFORMATION);
}

bool FindReplace::findNext(const QString& what, const FindOptions& opt)
{
    if (what.isEmpty())
        return false;
    m_lastWhat = what;
    m_lastOptions = opt;
    CVantrelView* edit = m_activeScript();
    const QString text = edit->rawText();
    const QTextCursor cur = edit->textCursor();
    const qsizetype from = opt.up ? cur.selectionStart() : cur.selectionEnd();
    const qsizetype at = TextSearch::findWrapping(text, what, from, opt);
    if (at < 0) {
        notFound(what);
        return false;
    }
    // Going on from the other end is easily missed: a found text above the
    // caret looks like the next one.
    if (opt.up ? at >= from : at < from)
        emit wrapped(opt.up ? QString(str::kFindWrappedUp) : QString(str::kFindWrappedDown));
    QTextCursor c = edit->textCursor();
    c.setPosition(int(at));
    c.setPosition(int(at + what.size()), QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
    edit->ensureCursorVisible();
    moveDialogOffSelection();
    return true;
}

void FindReplace::moveDialogOffSelection()
{
    // A dialog over the text it found is moved above or below it, where the
    // screen has room, as a framework edit view does.
    FindReplaceDlg* dlg = m_replaceDlg && m_replaceDlg->isVisible() ? m_replaceDlg.data() : m_findDlg.data();
    if (!dlg || !dlg->isVisible())
        return;
    CVantrelView* edit = m_activeScript();
    const QTextCursor sel = edit->textCursor();
    QTextCursor start = sel;
    start.setPosition(sel.selectionStart());
    QTextCursor end = sel;
    end.setPosition(sel.selectionEnd());
    const QRect local = edit->cursorRect(start).united(edit->cursorRect(end));
    const QRect found(edit->viewport()->mapToGlobal(local.topLeft()), local.size());
    const QRect frame = dlg->frameGeometry();
    if (!frame.intersects(found))
        return;
    const QRect screen = edit->screen()->availableGeometry();
    constexpr int kGap = 8;
    int y = found.bottom() + 1 + kGap;
    if (y + frame.height() > screen.bottom() + 1)
        y = std::max(screen.top(), found.top() - kGap - frame.height());
    dlg->move(frame.x(), y);
}

bool FindReplace::replaceOne(const QString& what, const QString& with, const FindOptions& opt)
{
    if (what.isEmpty())
        return false;
    CVantrelView* edit = m_activeScript();
    QTextCursor c = edit->textCursor();
    if (c.hasSelection()) {
        const QString text = edit->rawText();
        if (c.selectionEnd() - c.selectionStart() == what.size() &&
            TextSearch::matchesAt(text, c.selectionStart(), what, opt)) {
            const qsizetype at = c.selectionStart();
            c.insertText(with);
            edit->setTextCursor(c);
            edit->colourRange(at, at + with.size());
        }
    }
    return findNext(what, opt);
}

int FindReplace::replaceAll(const QString& what, const QString& with, const FindOptions& opt)
{
    if (what.isEmpty() || m_replacing)
        return 0;
    m_lastWhat = what;
    m_lastOptions = opt;
    CVantrelView* edit = m_activeScript();
    const QList<qsizetype> hits = TextSearch::findAll(edit->rawTextView(), what, opt);
    if (hits.isEmpty()) {
        notFound(what);
        return 0;
    }
    m_replacing = true;
    const bool done = applyReplacements(edit, hits, what.size(), with);
    m_replacing = false;
    if (!done)
        return 0;
    mb::show(m_owner, QString(str::kReplacedCount).arg(hits.size()).arg(what), str::kAppName,
             mb::MB_OK | mb::MB_ICONINFORMATION);
    return int(hits.size());
}

bool FindReplace::applyReplacements(CVantrelView* edit, const QList<qsizetype>& hits, qsizetype length,
                                    const QString& with)
{
    // The work goes in pieces, from the end of the text, all joined into one
    // undo step. Between pieces the window repaints, and once the work has
    // taken longer than a moment a progress bar offers to stop it.
    constexpr qint64 kQuietMs = 500;
    const qsizetype count = hits.size();
    // Each piece costs a pass over the text after it: a handful of pieces.
    const qsizetype piece = std::max<qsizetype>(4096, count / 8 + 1);
    const qsizetype steps = 2 * count;  // replacing, then colouring
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> progress;
    const auto goOn = [&](qsizetype done) {
        if (!progress && clock.elapsed() > kQuietMs) {
            progress = std::make_unique<QProgressDialog>(QString(str::kReplacingAll).arg(m_lastWhat),
                                                         QString(str::kCancelButton), 0, int(steps), m_owner);
            progress->setWindowTitle(str::kAppName);
            // Nothing else may edit the text or start another search meanwhile.
            progress->setWindowModality(Qt::ApplicationModal);
            progress->setMinimumDuration(0);
            progress->setAutoClose(false);
            progress->setAutoReset(false);
            progress->show();
        }
        if (progress)
            progress->setValue(int(done));  // a modal progress dialog lets events through here
        return !(progress && progress->wasCanceled());
    };
    const auto undoAll = [&] {
        // One undo takes back every piece done; nothing is left to redo.
        edit->document()->undo();
        edit->document()->clearUndoRedoStacks(QTextDocument::RedoStack);
        edit->colourRange(hits.first(), hits.last() + length);
        return false;
    };

    for (qsizetype end = count; end > 0;) {
        const qsizetype begin = std::max<qsizetype>(0, end - piece);
        edit->replaceEach(hits.constData() + begin, end - begin, length, with, end != count);
        end = begin;
        if (!goOn(count - end))
            return undoAll();
    }
    // What was put in is coloured as a highlight of it would; the text
    // between keeps the colours it had. Colour as you type has already
    // coloured the lines of the replacements.
    const qsizetype grow = with.size() - length;
    for (qsizetype i = 0; i < count && !edit->colourAsYouType(); ++i) {
        const qsizetype at = hits[i] + i * grow;
        edit->colourRange(at, at + with.size());
        if ((i + 1) % piece == 0 && !goOn(count + i + 1))
            return undoAll();
    }
    return true;
}
