#include "platform/DialogBuilder.h"

#include "resources/ids.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
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
        QWidget* w = nullptr;
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
            w = b;
            break;
        }
        case res::ControlKind::GroupBox: {
            auto* g = new QGroupBox(controlText(c), this);
            g->setFocusPolicy(Qt::NoFocus);
            w = g;
            break;
        }
        case res::ControlKind::Label:
            w = new QLabel(controlText(c), this);
            break;
        case res::ControlKind::Picture: {
            auto* l = new QLabel(this);
            const QPixmap pm(QStringLiteral(":/bitmaps/%1.bmp").arg(c.bitmapId));
            l->setPixmap(pm);
            // A picture control takes the bitmap's own size.
            if (!pm.isNull()) {
                const QPoint pos = toPixels(c.x, c.y);
                l->setGeometry(pos.x(), pos.y(), pm.width(), pm.height());
            }
            w = l;
            break;
        }
        case res::ControlKind::Edit:
            if (c.style & res::cs::Multiline) {
                auto* e = new QPlainTextEdit(this);
                e->setReadOnly(c.style & res::cs::ReadOnly);
                e->setLineWrapMode((c.style & res::cs::AutoHScroll) ? QPlainTextEdit::NoWrap
                                                                    : QPlainTextEdit::WidgetWidth);
                e->setVerticalScrollBarPolicy((c.style & res::cs::VScroll) ? Qt::ScrollBarAsNeeded
                                                                           : Qt::ScrollBarAlwaysOff);
                e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                e->setTabChangesFocus(true);
                if (c.style & res::cs::ReadOnly)
                    e->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
                w = e;
            } else {
                auto* e = new QLineEdit(this);
                e->setReadOnly(c.style & res::cs::ReadOnly);
                w = e;
            }
            break;
        case res::ControlKind::CheckBox:
            w = new QCheckBox(controlText(c), this);
            break;
        case res::ControlKind::RadioButton: {
            auto* r = new QRadioButton(controlText(c), this);
            // Exclusivity is kept per template group below, so that a group
            // can also show no button ticked.
            r->setAutoExclusive(false);
            w = r;
            break;
        }
        case res::ControlKind::ListBox: {
            auto* l = new QListWidget(this);
            l->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            w = l;
            break;
        }
        }
        w->setObjectName(QStringLiteral("ctl_%1").arg(c.id));
        w->setProperty("controlId", c.id);
        if (!(c.kind == res::ControlKind::Picture && !w->geometry().isEmpty() && w->geometry().width() > 1)) {
            const QPoint pos = toPixels(c.x, c.y);
            const QPoint size = toPixels(c.cx, c.cy);
            w->setGeometry(pos.x(), pos.y(), size.x(), size.y());
        }
        if (c.kind == res::ControlKind::GroupBox)
            w->lower();
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

    // Radio buttons: one exclusive group from each group start up to the next.
    for (std::size_t i = 0; i < m_template.controls.size(); ++i) {
        const auto& c = m_template.controls[i];
        if (c.kind != res::ControlKind::RadioButton || !(c.style & res::cs::Group))
            continue;
        const QList<QAbstractButton*> group = radioGroup(c.id);
        for (QAbstractButton* b : group) {
            connect(b, &QAbstractButton::toggled, this, [group, b](bool on) {
                if (!on)
                    return;
                for (QAbstractButton* other : group) {
                    if (other != b)
                        other->setChecked(false);
                }
            });
            connect(b, &QAbstractButton::clicked, b, [b] { b->setChecked(true); });
        }
    }

    if (firstTabStop)
        firstTabStop->setFocus(Qt::OtherFocusReason);
}

QWidget* TemplateDialog::control(int id) const { return m_controls.value(id, nullptr); }

QList<QAbstractButton*> TemplateDialog::radioGroup(int firstId) const
{
    QList<QAbstractButton*> group;
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
    if (!UpdateData(false))
        return ids::IDCANCEL;
    return exec() == QDialog::Accepted ? ids::IDOK : ids::IDCANCEL;
}

bool TemplateDialog::UpdateData(bool save)
{
    DoDataExchange(save);
    return true;
}

void TemplateDialog::DoDataExchange(bool) {}

void TemplateDialog::accept()
{
    if (!UpdateData(true))
        return;
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
