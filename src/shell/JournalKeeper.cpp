#include "shell/JournalKeeper.h"

#include "editor/ScriptText.h"
#include "platform/RecoveryJournal.h"

#include <QTextDocument>

namespace {

// The most work a crash can take: the copy is at most this old.
constexpr int kJournalDelayMs = 5000;

}  // namespace

JournalKeeper::JournalKeeper(ScriptText& text, Origin origin, QObject* parent)
    : QObject(parent), m_text(text), m_origin(std::move(origin)), m_entry(RecoveryJournal::forThisProcess().newEntry())
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kJournalDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &JournalKeeper::writeNow);
    QTextDocument* doc = m_text.scriptDocument();
    connect(doc, &QTextDocument::contentsChanged, this, &JournalKeeper::edited);
    connect(doc, &QTextDocument::modificationChanged, this, [this](bool modified) {
        if (modified) {
            edited();
        } else {
            // Nothing unsaved any more: the file on disk holds all of it.
            discard();
        }
    });
}

void JournalKeeper::edited()
{
    // Not restarted by each key: while typing goes on for minutes, a copy
    // is still written every few seconds.
    if (m_text.scriptDocument()->isModified() && !m_timer.isActive())
        m_timer.start();
}

void JournalKeeper::writeNow()
{
    m_timer.stop();
    QTextDocument* doc = m_text.scriptDocument();
    if (!doc->isModified())
        return;
    const auto [path, identity] = m_origin();
    // Colours laid over the text also count as content changes: only an edit
    // moves the revision on.
    if (doc->revision() == m_writtenRevision && path == m_writtenPath)
        return;
    RecoveryJournal::forThisProcess().write(m_entry, path, identity, m_text.scriptText());
    m_writtenRevision = doc->revision();
    m_writtenPath = path;
}

void JournalKeeper::discard()
{
    m_timer.stop();

    m_writtenRevision = -1;
    m_writtenPath.clear();
    RecoveryJournal::forThisProcess().discard(m_entry);
}
