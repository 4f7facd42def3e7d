// Word completion in a script: the word before the caret is completed from
// the script language's words and from the words already in the script.
#pragma once

#include <QObject>
#include <QStringList>
#include <QStringView>

class QCompleter;
class QPlainTextEdit;
class QStringListModel;

class WordCompleter : public QObject {
    Q_OBJECT
public:
    explicit WordCompleter(QPlainTextEdit* edit);

    // The words that begin with prefix, whatever their case: the language's
    // words in their own spelling, then the words of text that are not among
    // them, leaving out the word that spans the caret. Sorted without regard
    // to case.
    static QStringList candidates(QStringView text, QStringView prefix, qsizetype caret);

    // Completes the word before the caret. text is the edit's whole text with
    // "\n" line breaks. One candidate replaces the word at once; several open
    // a list at the caret.
    void complete(QStringView text);

    bool isPopupVisible() const;
    // After the user typed with the list open: narrows the list to the word
    // before the caret, or closes it when no candidate is left.
    void followTyping();

private:
    int wordStart() const;
    void insert(const QString& word);

    QPlainTextEdit* m_edit;
    QCompleter* m_completer;
    QStringListModel* m_model;
};
