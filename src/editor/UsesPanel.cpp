#include "editor/UsesPanel.h"

#include "resources/strings.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

UsesPanel::UsesPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("uses"));
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("usesHeading"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("usesList"));
    m_list->setUniformItemSizes(true);
    m_list->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_heading);
    layout->addWidget(m_list);
    setFocusProxy(m_list);
    // Enter and a double-click come as activation.
    connect(m_list, &QListWidget::itemActivated, this, &UsesPanel::choose);
}

void UsesPanel::showUses(const QString& label, const QList<Place>& places)
{
    m_places = places;
    m_heading->setText(QString(str::kUsesHeading).arg(label).arg(places.size()));
    m_list->clear();
    for (const Place& p : places)
        m_list->addItem(QString(str::kUsesEntry).arg(p.file).arg(p.line + 1).arg(p.text.trimmed()));
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    show();
}

void UsesPanel::choose(QListWidgetItem* item)
{
    const int row = m_list->row(item);
    if (row >= 0 && row < m_places.size())
        emit placeChosen(m_places[row]);
}

bool UsesPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        emit leaveRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
