#include "editor/OutlinePanel.h"

#include "editor/CVantrelView.h"
#include "resources/strings.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

constexpr int kLineRole = Qt::UserRole;
constexpr int kRebuildDelayMs = 300;
constexpr int kSwitchDelayMs = 50;

QTreeWidgetItem* entry(QTreeWidgetItem* parent, const QString& text, int line)
{
    auto* item = new QTreeWidgetItem(parent, {text});
    item->setData(0, kLineRole, line);
    item->setToolTip(0, QString(str::kOutlineLineTip).arg(line + 1));
    return item;
}

QTreeWidgetItem* heading(QTreeWidget* tree, const QString& text)
{
    auto* item = new QTreeWidgetItem(tree, {text});
    item->setData(0, kLineRole, -1);
    QFont bold = item->font(0);
    bold.setBold(true);
    item->setFont(0, bold);
    return item;
}

}  // namespace

OutlinePanel::OutlinePanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("outline"));
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("outlineFilter"));
    m_filter->setPlaceholderText(str::kOutlineFilter);
    m_filter->setClearButtonEnabled(true);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("outlineTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_filter);
    layout->addWidget(m_tree);
    setFocusProxy(m_tree);

    m_rebuild.setSingleShot(true);
    m_rebuild.setInterval(kRebuildDelayMs);
    connect(&m_rebuild, &QTimer::timeout, this, &OutlinePanel::rebuild);
    connect(m_filter, &QLineEdit::textChanged, this, &OutlinePanel::applyFilter);
    // Down from the filter goes into the list, as in a file chooser.
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        m_tree->setFocus();
        if (!m_tree->currentItem() || m_tree->currentItem()->isHidden())
            m_tree->setCurrentItem(m_tree->topLevelItemCount() ? m_tree->topLevelItem(0) : nullptr);
    });
    // Enter and a double-click come as activation; one click is enough too.
    connect(m_tree, &QTreeWidget::itemActivated, this, &OutlinePanel::choose);
    connect(m_tree, &QTreeWidget::itemClicked, this, &OutlinePanel::choose);
}

void OutlinePanel::setView(CVantrelView* view)
{
    for (const QMetaObject::Connection& c : std::as_const(m_viewConnections))
        disconnect(c);
    m_viewConnections.clear();
    m_view = view;
    if (view) {
        m_viewConnections.append(connect(view, &CVantrelView::indexChanged, this, [this] {
            m_stale = true;
            if (isVisible())
                m_rebuild.start();
        }));
        m_viewConnections.append(connect(view, &CVantrelView::caretLineChanged, this, &OutlinePanel::markCaret));
    }
    m_stale = true;
    // The script switched to is shown first: its outline follows a moment
    // later, as building it for a long script takes longer than a frame.
    m_tree->clear();
    m_byLine.clear();
    if (isVisible())
        QTimer::singleShot(kSwitchDelayMs, this, [this] {
            if (m_stale)
                rebuild();
        });
}

void OutlinePanel::setProblems(const std::vector<ScriptHint>& hints)
{
    if (hints == m_problems)
        return;
    m_problems = hints;
    m_stale = true;
    if (isVisible())
        m_rebuild.start();
}

void OutlinePanel::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // Nothing is built while hidden: the panel catches up when shown.
    if (m_stale)
        rebuild();
}

void OutlinePanel::rebuild()
{
    m_rebuild.stop();
    m_stale = false;
    m_tree->setUpdatesEnabled(false);
    m_tree->clear();
    m_byLine.clear();
    if (m_view) {
        const ScriptIndex& index = m_view->index();
        const std::vector<ScriptIndex::Section> sections = index.sections();
        auto nextSection = sections.begin();
        QTreeWidgetItem* section = nullptr;
        QList<QPair<int, QString>> includes;
        for (int n = 0; n < index.lineCount(); ++n) {
            while (nextSection != sections.end() && nextSection->line <= n) {
                section = entry(nullptr, nextSection->name.text, nextSection->line);
                m_tree->addTopLevelItem(section);
                m_byLine.emplace_back(nextSection->line, section);
                ++nextSection;
            }
            const ScriptIndex::Line* line = index.line(n);
            if (!line)
                continue;
            if (!line->label.isEmpty()) {
                QTreeWidgetItem* label = entry(section, line->label.text, n);
                if (!section)
                    m_tree->addTopLevelItem(label);
                m_byLine.emplace_back(n, label);
            }
            if (!line->include().isEmpty())
                includes.append({n, line->include().text});
        }
        if (!includes.isEmpty()) {
            QTreeWidgetItem* group = heading(m_tree, str::kOutlineIncludes);
            for (const auto& [n, name] : std::as_const(includes))
                entry(group, name, n);
        }
        if (!m_problems.empty()) {
            QTreeWidgetItem* group = heading(m_tree, str::kOutlineProblems);
            for (const ScriptHint& hint : m_problems)
                entry(group, QString(str::kOutlineProblemFormat).arg(hint.line + 1).arg(hint.text), hint.line);
        }
        std::stable_sort(m_byLine.begin(), m_byLine.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    m_tree->expandAll();
    applyFilter();
    m_tree->setUpdatesEnabled(true);
    if (m_view)
        markCaret(m_view->caretLine() + 1);
}

void OutlinePanel::markCaret(int line1Based)
{
    // The nearest section or label at or above the caret.
    const int line = line1Based - 1;
    const auto after =
        std::upper_bound(m_byLine.begin(), m_byLine.end(), line, [](int l, const auto& e) { return l < e.first; });
    if (after == m_byLine.begin())
        return;
    QTreeWidgetItem* item = std::prev(after)->second;
    if (m_tree->currentItem() == item)
        return;
    // Marked without being chosen: the caret stays where the user put it.
    const QSignalBlocker block(m_tree);
    m_tree->setCurrentItem(item);
    m_tree->scrollToItem(item);
}

void OutlinePanel::applyFilter()
{
    const QString wanted = m_filter->text().trimmed();
    // A parent stays while any of its entries match.
    const std::function<bool(QTreeWidgetItem*)> filter = [&](QTreeWidgetItem* item) {
        bool any = wanted.isEmpty() || item->text(0).contains(wanted, Qt::CaseInsensitive);
        for (int i = 0; i < item->childCount(); ++i)
            any = filter(item->child(i)) || any;
        item->setHidden(!any);
        return any;
    };
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        filter(m_tree->topLevelItem(i));
}

void OutlinePanel::choose(QTreeWidgetItem* item)
{
    const int line = item ? item->data(0, kLineRole).toInt() : -1;
    if (line < 0 || !m_view)
        return;
    emit aboutToChoose();
    m_view->goToLine(line + 1);
    m_view->setFocus();
    emit lineChosen(line);
}
