#include "platform/DialogBuilder.h"

#include "resources/ids.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

namespace {

QString controlText(const res::ControlTemplate& c) { return QString::fromLatin1(c.text ? c.text : ""); }

}  // namespace

TemplateDialog::TemplateDialog(const res::DialogTemplate& tmpl, QWidget* parent) : QDialog(parent), m_template(tmpl)
{
    setObjectName(QStringLiteral("dialog_%1").arg(tmpl.id));
    QFont font(QString::fromLatin1(tmpl.fontFace), tmpl.fontPoints);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);

    // The framework's base units: the average width of the letters and the
    // height of the font.
    const QFontMetrics fm(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = qMax(1, (fm.horizontalAdvance(letters) / 26 + 1) / 2);
    m_baseY = qMax(1, fm.height());

    Qt::WindowFlags flags = Qt::Dialog;
    if (tmpl.titleBar)
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    else
        flags |= Qt::FramelessWindowHint;
    setWindowFlags(flags);
    if (tmpl.caption)
        setWindowTitle(QString::fromLatin1(tmpl.caption));
    const QPoint size = toPixels(tmpl.cx, tmpl.cy);
    setFixedSize(size.x(), size.y());
    build();
}

QPoint TemplateDialog::toPixels(int x, int y) const { return {x * m_baseX / 4, y * m_baseY / 8}; }

void TemplateDialog::build()
{
    QWidget* firstTabStop = nullptr;
    QWidget* previousFocusable = nullptr;
    for (const res::ControlTemplate& c : m_template.controls) {
        QWidget* w = createControl(c);
        w->setObjectName(QStringLiteral("ctl_%1").arg(c.id));
        w->setProperty("controlId", c.id);
        place(w, c);
        if (c.id != ids::IDC_STATIC && !m_controls.contains(c.id))
            m_controls.insert(c.id, w);
        m_ordered.append(w);

        const bool focusable =
            w->focusPolicy() != Qt::NoFocus && c.kind != res::ControlKind::Label && c.kind != res::ControlKind::Picture;
        if (focusable) {
            if (previousFocusable)
                setTabOrder(previousFocusable, w);
            previousFocusable = w;
            if (!firstTabStop && (c.style & res::cs::TabStop))
                firstTabStop = w;
        }
    }
    setUpRadioGroups();
    if (firstTabStop)
        firstTabStop->setFocus(Qt::OtherFocusReason);
}

QWidget* TemplateDialog::createControl(const res::ControlTemplate& c)
{
    switch (c.kind) {
    case res::ControlKind::DefPushButton:
    case res::ControlKind::PushButton: {
        auto* b = new QPushButton(controlText(c), this);
        b->setDefault(c.kind == res::ControlKind::DefPushButton);
        b->setAutoDefault(c.kind == res::ControlKind::DefPushButton);
        if (c.id == ids::IDOK)
            connect(b, &QPushButton::clicked, this, &TemplateDialog::accept);
        else if (c.id == ids::IDCANCEL)
            connect(b, &QPushButton::clicked, this, &TemplateDialog::reject);
        return b;
    }
    case res::ControlKind::GroupBox: {
        auto* g = new QGroupBox(controlText(c), this);
        g->setFocusPolicy(Qt::NoFocus);
        g->lower();  // behind the controls it frames
        return g;
    }
    case res::ControlKind::Label:
        return new QLabel(controlText(c), this);
    case res::ControlKind::Picture: {
        auto* l = new QLabel(this);
        l->setPixmap(QPixmap(QStringLiteral(":/bitmaps/%1.bmp").arg(c.bitmapId)));
        return l;
    }
    case res::ControlKind::Edit:
        return createEdit(c);
    case res::ControlKind::CheckBox:
        return new QCheckBox(controlText(c), this);
    case res::ControlKind::RadioButton: {
        auto* r = new QRadioButton(controlText(c), this);
        // Exclusivity is kept per template group, so that a group can also
        // show no button ticked.
        r->setAutoExclusive(false);
        return r;
    }
    case res::ControlKind::ListBox: {
        auto* l = new QListWidget(this);
        l->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        return l;
    }
    }
    return new QWidget(this);
}

QWidget* TemplateDialog::createEdit(const res::ControlTemplate& c)
{
    const bool readOnly = c.style & res::cs::ReadOnly;
    if (!(c.style & res::cs::Multiline)) {
        auto* e = new QLineEdit(this);
        e->setReadOnly(readOnly);
        return e;
    }
    auto* e = new QPlainTextEdit(this);
    e->setReadOnly(readOnly);
    e->setLineWrapMode((c.style & res::cs::AutoHScroll) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    e->setVerticalScrollBarPolicy((c.style & res::cs::VScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setTabChangesFocus(true);
    if (readOnly)
        e->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return e;
}

void TemplateDialog::place(QWidget* w, const res::ControlTemplate& c) const
{
    const QPoint pos = toPixels(c.x, c.y);
    const QPoint size = toPixels(c.cx, c.cy);
    // A picture control takes the bitmap's own size.
    const auto* label = qobject_cast<const QLabel*>(w);
    if (c.kind == res::ControlKind::Picture && label && !label->pixmap().isNull())
        w->setGeometry(pos.x(), pos.y(), label->pixmap().width(), label->pixmap().height());
    else
        w->setGeometry(pos.x(), pos.y(), size.x(), size.y());
}

void TemplateDialog::setUpRadioGroups()
{
    for (const res::ControlTemplate& c : m_template.controls) {
        if (c.kind != res::ControlKind::RadioButton || !(c.style & res::cs::Group))
            continue;
        const RadioGroup group = radioGroup(c.id);
        for (QAbstractButton* b : group) {
            connect(b, &QAbstractButton::toggled, this, [group, b](bool on) {
                if (on) {
                    for (QAbstractButton* other : group) {
                        if (other != b)
                            other->setChecked(false);
                    }
                }
                keepTabStopOnTicked(group);
            });
            connect(b, &QAbstractButton::clicked, b, [b] { b->setChecked(true); });
            b->installEventFilter(this);
        }
        keepTabStopOnTicked(group);
        m_radioGroups.append(group);
    }
}

void TemplateDialog::keepTabStopOnTicked(const RadioGroup& group)
{
    if (group.isEmpty())
        return;
    QAbstractButton* stop = group.first();
    for (QAbstractButton* b : group) {
        if (b->isChecked())
            stop = b;
    }
    // The other buttons stay in the focus chain for the mouse and the arrow
    // keys, but Tab passes them by.
    for (QAbstractButton* b : group)
        b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

const TemplateDialog::RadioGroup* TemplateDialog::groupOf(const QObject* button) const
{
    for (const RadioGroup& group : m_radioGroups) {
        for (const QAbstractButton* b : group) {
            if (b == button)
                return &group;
        }
    }
    return nullptr;
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    int step = 0;
    if (key == Qt::Key_Down || key == Qt::Key_Right)
        step = 1;
    else if (key == Qt::Key_Up || key == Qt::Key_Left)
        step = -1;
    const RadioGroup* group = step ? groupOf(watched) : nullptr;
    if (!group)
        return QDialog::eventFilter(watched, event);
    // Round the group, as the arrow keys go in a radio group: the button
    // reached is ticked and takes the focus.
    const qsizetype count = group->size();
    QAbstractButton* next = (*group)[(group->indexOf(static_cast<QAbstractButton*>(watched)) + step + count) % count];
    next->setChecked(true);
    next->setFocus(Qt::OtherFocusReason);
    return true;
}

QWidget* TemplateDialog::control(int id) const { return m_controls.value(id, nullptr); }

TemplateDialog::RadioGroup TemplateDialog::radioGroup(int firstId) const
{
    RadioGroup group;
    bool inGroup = false;
    for (std::size_t i = 0; i < m_template.controls.size(); ++i) {
        const auto& c = m_template.controls[i];
        if (!inGroup) {
            if (c.id == firstId && c.kind == res::ControlKind::RadioButton)
                inGroup = true;
            else
                continue;
        } else if (c.style & res::cs::Group) {
            break;
        }
        if (c.kind == res::ControlKind::RadioButton)
            group.append(qobject_cast<QAbstractButton*>(m_ordered[qsizetype(i)]));
    }
    return group;
}

int TemplateDialog::DoModal()
{
    UpdateData(false);
    return exec() == QDialog::Accepted ? ids::IDOK : ids::IDCANCEL;
}

void TemplateDialog::UpdateData(bool save) { DoDataExchange(save); }

void TemplateDialog::DoDataExchange(bool) {}

void TemplateDialog::accept()
{
    UpdateData(true);
    QDialog::accept();
}

void TemplateDialog::DDX_Check(bool save, int id, int& value)
{
    auto* box = controlAs<QCheckBox>(id);
    if (!box)
        return;
    if (save)
        value = box->isChecked() ? 1 : 0;
    else
        box->setChecked(value != 0);
}

void TemplateDialog::DDX_Text(bool save, int id, QString& value)
{
    QWidget* w = control(id);
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (save)
            value = line->text();
        else
            line->setText(value);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        if (save) {
            // The raw text keeps no-break spaces, which toPlainText turns into blanks.
            value = edit->document()->toRawText();
            value.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        } else
            edit->setPlainText(value);
    }
}

void TemplateDialog::DDX_Radio(bool save, int firstId, int& value)
{
    const QList<QAbstractButton*> group = radioGroup(firstId);
    if (save) {
        value = -1;
        for (int i = 0; i < group.size(); ++i) {
            if (group[i]->isChecked()) {
                value = i;
                break;
            }
        }
        return;
    }
    for (int i = 0; i < group.size(); ++i)
        group[i]->setChecked(i == value);
}
