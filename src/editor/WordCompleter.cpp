#include "editor/WordCompleter.h"

#include "editor/ScriptVocabulary.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QStringListModel>

#include <algorithm>

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// The commands and keywords once, in their own spelling.
const QStringList& languageWords()
{
    static const QStringList words = [] {
        QStringList list;
        const ScriptVocabulary::Tables& tables = ScriptVocabulary::builtIn();
        for (const ScriptVocabulary::Table* table : {&tables.commands, &tables.keywords}) {
            for (const char* word : *table) {
                if (word)
                    list.append(QString::fromLatin1(word));
            }
        }
        list.removeDuplicates();
        return list;
    }();
    return words;
}

}  // namespace

WordCompleter::WordCompleter(QPlainTextEdit* edit)
    : QObject(edit), m_edit(edit), m_completer(new QCompleter(this)), m_model(new QStringListModel(this))
{
    m_completer->setObjectName(QStringLiteral("wordCompleter"));
    m_completer->setModel(m_model);
    m_completer->setWidget(edit);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    m_completer->setWrapAround(false);
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this, &WordCompleter::insert);
}

QStringList WordCompleter::candidates(QStringView text, QStringView prefix, qsizetype caret)
{
    QStringList result;
    QSet<QString> known;  // folded to upper case: the language's spelling wins
    for (const QString& word : languageWords()) {
        if (word.startsWith(prefix, Qt::CaseInsensitive)) {
            result.append(word);
            known.insert(word.toUpper());
        }
    }
    QSet<QString> seen;
    for (qsizetype i = 0; i < text.size();) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < text.size() && isWordChar(text[end]))
            ++end;
        // Numbers are no words to complete, nor is the one being typed.
        const bool atCaret = i <= caret && caret <= end;
        const QStringView word = text.sliced(i, end - i);
        if (!atCaret && !word[0].isDigit() && word.startsWith(prefix, Qt::CaseInsensitive)) {
            const QString w = word.toString();
            if (!known.contains(w.toUpper()) && !seen.contains(w)) {
                seen.insert(w);
                result.append(w);
            }
        }
        i = end;
    }
    std::sort(result.begin(), result.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return result;
}

int WordCompleter::wordStart() const
{
    const QTextDocument* doc = m_edit->document();
    int pos = m_edit->textCursor().position();
    while (pos > 0 && isWordChar(doc->characterAt(pos - 1)))
        --pos;
    return pos;
}

void WordCompleter::complete(QStringView text)
{
    const int caret = m_edit->textCursor().position();
    const int start = wordStart();
    if (start == caret)
        return;  // no word before the caret
    const QStringView prefix = text.sliced(start, caret - start);
    const QStringList words = candidates(text, prefix, caret);
    if (words.size() == 1) {
        insert(words.first());
        return;
    }
    if (words.isEmpty())
        return;
    m_model->setStringList(words);
    m_completer->setCompletionPrefix(prefix.toString());
    QAbstractItemView* popup = m_completer->popup();
    popup->setFont(m_edit->font());
    QRect at = m_edit->cursorRect();
    at.setWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width());
    m_completer->complete(at);
    popup->setCurrentIndex(m_completer->completionModel()->index(0, 0));
}

bool WordCompleter::isPopupVisible() const { return m_completer->popup()->isVisible(); }

void WordCompleter::followTyping()
{
    const int caret = m_edit->textCursor().position();
    const int start = wordStart();
    QTextCursor c = m_edit->textCursor();
    c.setPosition(start);
    c.setPosition(caret, QTextCursor::KeepAnchor);
    m_completer->setCompletionPrefix(c.selectedText());
    if (start == caret || m_completer->completionCount() == 0) {
        m_completer->popup()->hide();
        return;
    }
    m_completer->popup()->setCurrentIndex(m_completer->completionModel()->index(0, 0));
}

void WordCompleter::insert(const QString& word)
{
    QTextCursor c = m_edit->textCursor();
    const int caret = c.position();
    c.setPosition(wordStart());
    c.setPosition(caret, QTextCursor::KeepAnchor);
    if (c.selectedText() == word)
        return;  // nothing to change: no step for Undo
    c.insertText(word);
    m_edit->setTextCursor(c);
}
