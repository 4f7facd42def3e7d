// The lines of a script that name a label in a branch or call: Edit > Find
// Uses fills it; Enter or a double-click on a line puts the caret there.
#pragma once

#include <QListWidget>
#include <QPointer>

class CVantrelView;

class UsesPanel : public QListWidget {
    Q_OBJECT
public:
    explicit UsesPanel(QWidget* parent = nullptr);

    // Lists the uses of the label named under the caret of view; false when
    // no word is under the caret.
    bool findUses(CVantrelView* view);

private:
    QPointer<CVantrelView> m_view;
};
