// Edit > Find, Find Next and Replace on the script editing control: the two
// modeless dialogs and the searches they run.
#pragma once

#include "editor/TextSearch.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QCheckBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class CVantrelView;

class FindReplaceDlg : public QDialog {
    Q_OBJECT
public:
    FindReplaceDlg(bool replace, QWidget* parent);
    QLineEdit* findEdit() const { return m_find; }
    QLineEdit* replaceEdit() const { return m_replace; }
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QRadioButton* upButton() const { return m_up; }
    QPushButton* findNextButton() const { return m_findNext; }
    QPushButton* replaceButton() const { return m_replaceOne; }
    QPushButton* replaceAllButton() const { return m_replaceAll; }
    FindOptions options() const;

signals:
    void findNext();
    void replaceOne();
    void replaceAll();

private:
    QLayout* buildFields(bool replace);
    QLayout* buildButtons(bool replace);

    QLineEdit* m_find = nullptr;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replaceOne = nullptr;
    QPushButton* m_replaceAll = nullptr;
};

class FindReplace : public QObject {
    Q_OBJECT
public:
    // Searches run in the script that activeScript names when they run: the
    // user may switch scripts with the dialog open. owner parents the dialogs.
    using ActiveScript = std::function<CVantrelView*()>;
    FindReplace(QWidget* owner, ActiveScript activeScript);

    void OnEditFind();     // shows the Find dialog
    void OnEditReplace();  // shows the Replace dialog
    void OnEditRepeat();   // F3: the last search again, or the Find dialog when there was none

    // The searches themselves; false when nothing was found (the user was told).
    bool findNext(const QString& what, const FindOptions& opt);
    bool replaceOne(const QString& what, const QString& with, const FindOptions& opt);
    int replaceAll(const QString& what, const QString& with, const FindOptions& opt);

    FindReplaceDlg* findDialog() const { return m_findDlg; }
    FindReplaceDlg* replaceDialog() const { return m_replaceDlg; }

signals:
    // A search went on past one end of the script from the other: a word for the status bar.
    void wrapped(const QString& message);

private:
    void showDialog(bool replace);
    void moveDialogOffSelection();
    void notFound(const QString& what);
    bool applyReplacements(CVantrelView* edit, const QList<qsizetype>& hits, qsizetype length, const QString& with);

    QWidget* m_owner;
    ActiveScript m_activeScript;
    QPointer<FindReplaceDlg> m_findDlg;
    QPointer<FindReplaceDlg> m_replaceDlg;
    QString m_lastWhat;
    FindOptions m_lastOptions;
    bool m_replacing = false;
};
