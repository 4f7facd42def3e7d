#include "shell/DocumentSet.h"

#include "editor/CVantrelView.h"
#include "platform/AtomicFile.h"
#include "resources/strings.h"
#include "shell/CVantrelDoc.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

DocumentSet::DocumentSet(QWidget* dialogParent)
    : QObject(dialogParent), m_dialogParent(dialogParent), m_tabs(new QTabWidget(dialogParent))
{
    m_tabs->setObjectName(QStringLiteral("scriptTabs"));
    m_tabs->setDocumentMode(true);
    m_tabs->setTabBarAutoHide(true);
    m_tabs->setTabsClosable(true);
    m_tabs->setUsesScrollButtons(true);
    // Tabs take no keyboard focus: the keys belong to the script.
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_tabs->tabBar()->installEventFilter(this);
    connect(m_tabs, &QTabWidget::currentChanged, this, &DocumentSet::activeChanged);
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, &DocumentSet::closeRequested);
}

DocumentSet::~DocumentSet() = default;

int DocumentSet::activeIndex() const { return m_tabs->currentIndex(); }

CVantrelView* DocumentSet::view(int index) const
{
    return index >= 0 && index < count() ? m_entries[index].view : nullptr;
}

CVantrelDoc* DocumentSet::document(int index) const
{
    return index >= 0 && index < count() ? m_entries[index].doc : nullptr;
}

int DocumentSet::indexOf(const CVantrelDoc* doc) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_entries[i].doc == doc)
            return i;
    }
    return -1;
}

int DocumentSet::indexOfPath(const QString& path) const
{
    if (path.isEmpty())
        return -1;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (int i = 0; i < count(); ++i) {
        const QString open = m_entries[i].doc->GetPathName();
        if (!open.isEmpty() && (open == absolute || atomicfile::sameFile(open, absolute)))
            return i;
    }
    return -1;
}

int DocumentSet::add()
{
    auto* view = new CVantrelView;
    auto* doc = new CVantrelDoc(*view, m_dialogParent, this);
    m_entries.append({doc, view});
    connect(doc, &CVantrelDoc::titleChanged, this, [this, doc] {
        updateTab(doc);
        emit titleChanged(doc);
    });
    connect(doc, &CVantrelDoc::documentPathUsed, this, &DocumentSet::documentPathUsed);
    emit added(view);
    doc->OnNewDocument();
    // The first tab becomes the current one as it is added, and says so.
    m_tabs->addTab(view, QString());
    updateTab(doc);
    return count() - 1;
}

void DocumentSet::remove(int index)
{
    if (index < 0 || index >= count())
        return;
    const Entry gone = m_entries.takeAt(index);
    m_tabs->removeTab(index);
    // The view goes once the event that asked for this has been handled.
    delete gone.doc;
    gone.view->hide();
    gone.view->deleteLater();
}

void DocumentSet::setActive(int index)
{
    if (index >= 0 && index < count())
        m_tabs->setCurrentIndex(index);
}

void DocumentSet::step(int by)
{
    if (count() > 1)
        setActive((activeIndex() + by + count()) % count());
}

void DocumentSet::setMissionScript(CVantrelDoc* doc)
{
    CVantrelDoc* old = m_mission;
    m_mission = doc;
    if (old)
        updateTab(old);
    if (doc)
        updateTab(doc);
}

void DocumentSet::updateTab(CVantrelDoc* doc)
{
    const int i = indexOf(doc);
    if (i < 0)
        return;
    QString text = doc->GetTitle();
    // "&" in a file name is a letter, not a menu key.
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    if (doc->IsModified())
        text += QLatin1Char('*');
    m_tabs->setTabText(i, text);
    const bool mission = doc == m_mission;
    m_tabs->setTabIcon(i, mission ? QApplication::style()->standardIcon(QStyle::SP_MediaPlay) : QIcon());
    m_tabs->setTabToolTip(i, mission ? QString(str::kMissionScriptTip) : QString());
}

bool DocumentSet::eventFilter(QObject* watched, QEvent* event)
{
    // A middle click closes the tab under the mouse, as browsers do.
    if (watched == m_tabs->tabBar() && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        const int index = m_tabs->tabBar()->tabAt(me->position().toPoint());
        if (me->button() == Qt::MiddleButton && index >= 0) {
            emit closeRequested(index);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
