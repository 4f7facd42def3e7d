// The outline of a script beside it: its sections, the labels and includes
// under the section they stand in, and the hints under "Problems". An entry
// puts the caret on its line; the entry the caret is in is shown in bold.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <utility>
#include <vector>

class CVantrelView;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

class OutlinePanel : public QWidget {
    Q_OBJECT
public:
    explicit OutlinePanel(QWidget* parent = nullptr);

    // The script shown; null for none. The frame hands over the active one.
    void setView(CVantrelView* view);

    QLineEdit* filterField() const { return m_filter; }
    QTreeWidget* tree() const { return m_tree; }
    // Builds the entries now rather than a moment after the last edit.
    void rebuild();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void applyFilter();
    void markCaret();
    void goTo(QTreeWidgetItem* item, bool focusScript);

    QPointer<CVantrelView> m_view;
    QLineEdit* m_filter = nullptr;
    QTreeWidget* m_tree = nullptr;
    QTimer m_rebuildTimer;
    std::vector<std::pair<int, QTreeWidgetItem*>> m_byLine;  // sections and labels, in line order
    QTreeWidgetItem* m_marked = nullptr;
    std::vector<QMetaObject::Connection> m_connections;
};
