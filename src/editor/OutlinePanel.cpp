#include "editor/OutlinePanel.h"

#include "editor/CVantrelView.h"
#include "resources/strings.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kLineRole = Qt::UserRole;

QTreeWidgetItem* entry(const QString& text, int line)
{
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kLineRole, line);
    return item;
}

}  // namespace

OutlinePanel::OutlinePanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OutlinePanel"));
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("OutlineFilter"));
    m_filter->setPlaceholderText(str::kOutlineFilter);
    m_filter->setClearButtonEnabled(true);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("OutlineTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_filter);
    layout->addWidget(m_tree);

    // The outline follows the script a moment after typing stops.
    m_rebuildTimer.setSingleShot(true);
    m_rebuildTimer.setInterval(300);
    connect(&m_rebuildTimer, &QTimer::timeout, this, &OutlinePanel::rebuild);
    connect(m_filter, &QLineEdit::textChanged, this, &OutlinePanel::applyFilter);
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { goTo(item, false); });
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { goTo(item, true); });
    // Down from the filter field goes on into the entries.
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
            if (!m_tree->topLevelItem(i)->isHidden()) {
                m_tree->setCurrentItem(m_tree->topLevelItem(i));
                m_tree->setFocus();
                return;
            }
        }
    });
}

void OutlinePanel::setView(CVantrelView* view)
{
    for (const auto& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_view = view;
    if (view) {
        const auto later = [this] {
            if (isVisible())
                m_rebuildTimer.start();
        };
        m_connections.push_back(connect(view, &CVantrelView::indexChanged, this, later));
        m_connections.push_back(connect(view, &CVantrelView::hintsUpdated, this, later));
        m_connections.push_back(connect(view, &QPlainTextEdit::cursorPositionChanged, this, &OutlinePanel::markCaret));
    }
    rebuild();
}

void OutlinePanel::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    rebuild();
}

void OutlinePanel::rebuild()
{
    m_rebuildTimer.stop();
    m_tree->clear();
    m_byLine.clear();
    m_marked = nullptr;
    if (!m_view)
        return;
    const ScriptIndex& index = m_view->index();
    const std::vector<ScriptIndex::Section> sections = index.sections();
    QList<QTreeWidgetItem*> top;
    QTreeWidgetItem* section = nullptr;
    auto next = sections.begin();
    for (int n = 0; n < index.lineCount(); ++n) {
        if (next != sections.end() && next->line == n) {
            section = entry(next->name.text, n);
            top << section;
            m_byLine.emplace_back(n, section);
            ++next;
        }
        const ScriptIndex::Line* l = index.line(n);
        if (!l)
            continue;
        QTreeWidgetItem* item = nullptr;
        if (!l->label.isEmpty()) {
            item = entry(l->label.text, n);
            m_byLine.emplace_back(n, item);
        } else if (!l->include().isEmpty()) {
            item = entry(QString(str::kOutlineInclude).arg(l->include().text), n);
        }
        if (!item)
            continue;
        if (section)
            section->addChild(item);
        else
            top << item;
    }
    if (!m_view->hints().empty()) {
        auto* problems = new QTreeWidgetItem(QStringList{QString(str::kOutlineProblems)});
        for (const ScriptHint& h : m_view->hints())
            problems->addChild(entry(QString(str::kOutlineProblem).arg(h.line + 1).arg(h.text), h.line));
        top << problems;
    }
    m_tree->addTopLevelItems(top);
    m_tree->expandAll();
    applyFilter();
    markCaret();
}

void OutlinePanel::applyFilter()
{
    const QString wanted = m_filter->text().trimmed();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = m_tree->topLevelItem(i);
        bool anyChild = false;
        for (int k = 0; k < group->childCount(); ++k) {
            QTreeWidgetItem* child = group->child(k);
            const bool shown = wanted.isEmpty() || child->text(0).contains(wanted, Qt::CaseInsensitive);
            child->setHidden(!shown);
            anyChild = anyChild || shown;
        }
        group->setHidden(!(wanted.isEmpty() || anyChild || group->text(0).contains(wanted, Qt::CaseInsensitive)));
    }
}

void OutlinePanel::markCaret()
{
    if (!m_view || m_byLine.empty())
        return;
    const int line = m_view->textCursor().blockNumber();
    auto it =
        std::upper_bound(m_byLine.begin(), m_byLine.end(), line, [](int l, const auto& e) { return l < e.first; });
    QTreeWidgetItem* now = it == m_byLine.begin() ? nullptr : std::prev(it)->second;
    if (now == m_marked)
        return;
    for (QTreeWidgetItem* item : {m_marked, now}) {
        if (!item)
            continue;
        QFont f = item->font(0);
        f.setBold(item == now);
        item->setFont(0, f);
    }
    m_marked = now;
    if (now)
        m_tree->scrollToItem(now);
}

void OutlinePanel::goTo(QTreeWidgetItem* item, bool focusScript)
{
    if (!m_view || !item || !item->data(0, kLineRole).isValid())
        return;
    m_view->goToLine(item->data(0, kLineRole).toInt() + 1);
    if (focusScript)
        m_view->setFocus();
}
