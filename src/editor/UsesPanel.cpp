#include "editor/UsesPanel.h"

#include "editor/CVantrelView.h"
#include "resources/strings.h"

#include <QTextBlock>

UsesPanel::UsesPanel(QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("UsesPanel"));
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QVariant line = item->data(Qt::UserRole);
        if (!m_view || !line.isValid())
            return;
        m_view->goToLine(line.toInt() + 1);
        m_view->setFocus();
    });
}

bool UsesPanel::findUses(CVantrelView* view)
{
    clear();
    m_view = view;
    const QString label = view ? view->wordAtCaret() : QString();
    if (label.isEmpty())
        return false;
    const std::vector<int> lines = view->index().uses(label);
    if (lines.empty())
        addItem(QString(str::kUsesNone).arg(label));
    for (const int n : lines) {
        auto* item = new QListWidgetItem(
            QString(str::kUsesLine).arg(n + 1).arg(view->document()->findBlockByNumber(n).text().trimmed()), this);
        item->setData(Qt::UserRole, n);
    }
    setCurrentRow(0);
    return true;
}
