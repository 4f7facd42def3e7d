#include "shell/MissionNavigator.h"

#include "editor/CVantrelView.h"
#include "editor/ScriptIndex.h"
#include "platform/FileLookup.h"
#include "platform/TextCodec.h"
#include "resources/strings.h"
#include "shell/CVantrelDoc.h"
#include "shell/DocumentSet.h"

#include <QFileInfo>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// A mission of more files than this is no mission.
constexpr std::size_t kMostFiles = 256;

}  // namespace

MissionNavigator::MissionNavigator(DocumentSet& scripts, std::function<QString()> gameFolder,
                                   std::function<bool(const QString&)> openInTab, QObject* parent)
    : QObject(parent), m_scripts(scripts), m_gameFolder(std::move(gameFolder)), m_openInTab(std::move(openInTab))
{
}

MissionNavigator::~MissionNavigator() = default;

QString MissionNavigator::wordAtCaret() const
{
    const CVantrelView* view = m_scripts.activeView();
    if (!view)
        return QString();
    return view->wordAt(view->textCursor());
}

std::vector<MissionNavigator::Script> MissionNavigator::mission() const
{
    std::vector<Script> scripts;
    CVantrelView* active = m_scripts.activeView();
    CVantrelDoc* doc = m_scripts.activeDocument();
    if (!active || !doc)
        return scripts;
    scripts.push_back({doc->GetPathName(), doc->GetTitle(), &active->index(), nullptr, QString()});
    QSet<QString> seen;
    if (!doc->GetPathName().isEmpty())
        seen.insert(QFileInfo(doc->GetPathName()).absoluteFilePath());
    const QString game = m_gameFolder ? m_gameFolder() : QString();
    // Breadth first: the script's own includes before theirs; each file once,
    // so a file that includes itself ends the search.
    for (std::size_t i = 0; i < scripts.size() && scripts.size() < kMostFiles; ++i) {
        const QString folder = scripts[i].path.isEmpty() ? QString() : QFileInfo(scripts[i].path).absolutePath();
        const ScriptIndex& index = *scripts[i].index;
        for (int n = 0; n < index.lineCount(); ++n) {
            const ScriptIndex::Line* line = index.line(n);
            if (!line || line->include().isEmpty())
                continue;
            const QString path = filelookup::find(line->include().text, folder, game).matches.value(0);
            if (path.isEmpty() || seen.contains(path))
                continue;
            seen.insert(path);
            Script s{path, QFileInfo(path).fileName(), nullptr, nullptr, QString()};
            // An open script is read as it stands in its tab, unsaved changes and all.
            const int open = m_scripts.indexOfPath(path);
            if (open >= 0) {
                s.index = &m_scripts.view(open)->index();
            } else {
                const textcodec::ReadResult read = textcodec::readScriptFile(path);
                if (!read.error.isEmpty())
                    continue;
                s.text = read.text;
                s.own = std::make_shared<ScriptIndex>(s.text);
                s.index = s.own.get();
            }
            scripts.push_back(std::move(s));
        }
    }
    return scripts;
}

QString MissionNavigator::lineText(const Script& s, int line) const
{
    const int open = s.own ? -1 : (s.path.isEmpty() ? m_scripts.activeIndex() : m_scripts.indexOfPath(s.path));
    if (open >= 0)
        return m_scripts.view(open)->document()->findBlockByNumber(line).text();
    return QStringView(s.text).split(QLatin1Char('\n')).value(line, {}).toString();
}

void MissionNavigator::goToDefinition() { goToDefinition(wordAtCaret()); }

void MissionNavigator::goToDefinition(const QString& word)
{
    if (word.isEmpty()) {
        emit message(str::kNoLabelAtCaret);
        return;
    }
    for (const Script& s : mission()) {
        const std::vector<int> lines = s.index->definitions(word);
        if (!lines.empty()) {
            jumpTo(s.path, lines.front());
            return;
        }
    }
    emit message(QString(str::kNoDefinition).arg(word));
}

void MissionNavigator::findUses()
{
    const QString word = wordAtCaret();
    if (word.isEmpty()) {
        emit message(str::kNoLabelAtCaret);
        return;
    }
    QList<UsesPanel::Place> places;
    for (const Script& s : mission()) {
        for (int line : s.index->uses(word))
            places.append({s.path, s.file, line, lineText(s, line)});
    }
    emit usesFound(word, places);
}

void MissionNavigator::noteJumpStart()
{
    CVantrelDoc* doc = m_scripts.activeDocument();
    CVantrelView* view = m_scripts.activeView();
    if (!doc || !view)
        return;
    m_history.append({doc, doc->GetPathName(), view->textCursor().position()});
    while (m_history.size() > kHistorySize)
        m_history.removeFirst();
}

void MissionNavigator::goTo(const UsesPanel::Place& place) { jumpTo(place.path, place.line); }

bool MissionNavigator::jumpTo(const QString& path, int line)
{
    noteJumpStart();
    if (!path.isEmpty() && m_scripts.indexOfPath(path) != m_scripts.activeIndex() && !m_openInTab(path)) {
        m_history.removeLast();
        return false;
    }
    CVantrelView* view = m_scripts.activeView();
    view->showLine(line + 1);
    view->setFocus();
    return true;
}

void MissionNavigator::goBack()
{
    while (!m_history.isEmpty()) {
        const Visit visit = m_history.takeLast();
        // A script closed since is opened again from its file; an untitled one is gone.
        int index = visit.doc ? m_scripts.indexOf(visit.doc) : -1;
        if (index < 0 && !visit.path.isEmpty() && m_openInTab(visit.path))
            index = m_scripts.activeIndex();
        if (index < 0)
            continue;
        m_scripts.setActive(index);
        CVantrelView* view = m_scripts.activeView();
        QTextCursor c = view->textCursor();
        c.setPosition(std::min(visit.position, view->document()->characterCount() - 1));
        view->setTextCursor(c);
        view->ensureCursorVisible();
        view->setFocus();
        return;
    }
    emit message(str::kNothingToGoBackTo);
}
