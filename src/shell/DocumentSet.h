// The open scripts: each one a document with a view of its own (text, undo
// history, caret, colours, path, modified flag), shown one at a time in tabs.
// The tab bar shows only while more than one script is open, so that a
// single script looks as it always has. Whoever needs the active script asks
// for it when it acts: the active one changes under every command.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class CVantrelDoc;
class CVantrelView;
class QTabWidget;
class QWidget;

class DocumentSet : public QObject {
    Q_OBJECT
public:
    // dialogParent parents the documents' questions and messages.
    explicit DocumentSet(QWidget* dialogParent);
    ~DocumentSet() override;

    // The tabs, for the frame to place; the set keeps them in step with the scripts.
    QTabWidget* tabs() const { return m_tabs; }

    int count() const { return int(m_entries.size()); }
    int activeIndex() const;
    CVantrelView* view(int index) const;
    CVantrelDoc* document(int index) const;
    CVantrelView* activeView() const { return view(activeIndex()); }
    CVantrelDoc* activeDocument() const { return document(activeIndex()); }
    int indexOf(const CVantrelDoc* doc) const;
    // The open script saved under path (the same file, however named), -1 when none.
    int indexOfPath(const QString& path) const;

    // A new, empty Untitled script after the others; the active one stays active.
    int add();
    // Closes a script without a question.
    void remove(int index);
    void setActive(int index);
    // Steps through the tabs, from the last back to the first and the other way.
    void step(int by);

    // The script that F12 launches whichever is active; null when none is chosen.
    CVantrelDoc* missionScript() const { return m_mission; }
    void setMissionScript(CVantrelDoc* doc);

signals:
    // Another script is active (also when the first one comes).
    void activeChanged();
    // A script was added; its view is to be set up as the others are.
    void added(CVantrelView* view);
    // A script's caption changed: another path, or its modified flag.
    void titleChanged(CVantrelDoc* doc);
    // A file was opened or saved under this path (for the recent-file list).
    void documentPathUsed(const QString& path);
    // The user asked to close a tab (its close button, a middle click).
    void closeRequested(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        CVantrelDoc* doc;
        CVantrelView* view;
    };
    void updateTab(CVantrelDoc* doc);

    QWidget* m_dialogParent;
    QTabWidget* m_tabs;
    QList<Entry> m_entries;  // in tab order
    QPointer<CVantrelDoc> m_mission;
};
