// The outline beside the script: its sections with the labels under them,
// its includes, and the problems its hints found. Choosing an entry puts the
// caret on its line; the entry of the caret's section or label is marked as
// the caret moves.
#pragma once

#include "editor/ScriptHints.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <vector>

class CVantrelView;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

class OutlinePanel : public QWidget {
    Q_OBJECT
public:
    explicit OutlinePanel(QWidget* parent = nullptr);

    // The script shown; null shows nothing.
    void setView(CVantrelView* view);
    // The problems listed under their own heading.
    void setProblems(const std::vector<ScriptHint>& hints);

    QTreeWidget* tree() const { return m_tree; }
    // Builds the list again now, rather than a moment after the last edit.
    void rebuild();

signals:
    // An entry is chosen: the caret is still where it was.
    void aboutToChoose();
    // An entry was chosen: the caret went to its line.
    void lineChosen(int line);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void markCaret(int line1Based);
    void applyFilter();
    void choose(QTreeWidgetItem* item);

    QLineEdit* m_filter;
    QTreeWidget* m_tree;
    QPointer<CVantrelView> m_view;
    QList<QMetaObject::Connection> m_viewConnections;
    QTimer m_rebuild;  // a run of edits rebuilds the list once
    std::vector<ScriptHint> m_problems;
    // The section and label entries in line order, for marking the caret's.
    std::vector<std::pair<int, QTreeWidgetItem*>> m_byLine;
    bool m_stale = true;
};
