// Dialogs built from a template table. Controls are placed where their dialog
// units say, converted through the dialog font's metrics (4 horizontal units
// are the average character width, 8 vertical units the character height),
// created in template order, which is also the tab order.
//
// Radio buttons go by groups, each from a button that starts a group up to
// the next control that starts one: one button of a group is ticked at a
// time (or none), Tab enters a group at its ticked button (the first when
// none is ticked) and leaves it with the next Tab, and the arrow keys move
// the tick and the focus from button to button inside the group.
#pragma once

#include "resources/dialogs.h"

#include <QDialog>
#include <QHash>
#include <QList>

class QAbstractButton;

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TemplateDialog(const res::DialogTemplate& tmpl, QWidget* parent = nullptr);

    // The control with this id (the first, for ids used more than once).
    QWidget* control(int id) const;
    template <class T>
    T* controlAs(int id) const
    {
        return qobject_cast<T*>(control(id));
    }

    // Pixels for dialog units in this dialog's font.
    QPoint toPixels(int x, int y) const;

    // Runs the dialog modally; answers ids::IDOK or ids::IDCANCEL.
    int DoModal();

    // Moves data between the members and the controls: into the controls
    // when save is false, out of them when it is true.
    void UpdateData(bool save);

protected:
    virtual void DoDataExchange(bool save);
    void DDX_Check(bool save, int id, int& value);
    void DDX_Text(bool save, int id, QString& value);
    // The index of the ticked radio button of the group that starts at
    // firstId, or -1 when none is. A value outside the group ticks none.
    void DDX_Radio(bool save, int firstId, int& value);

    // OK: exchange into the members, then end with IDOK.
    void accept() override;

    // The arrow keys of the radio groups.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using RadioGroup = QList<QAbstractButton*>;

    void build();
    QWidget* createControl(const res::ControlTemplate& c);
    QWidget* createEdit(const res::ControlTemplate& c);
    void place(QWidget* w, const res::ControlTemplate& c) const;
    void setUpRadioGroups();
    RadioGroup radioGroup(int firstId) const;
    const RadioGroup* groupOf(const QObject* button) const;
    static void keepTabStopOnTicked(const RadioGroup& group);

    const res::DialogTemplate& m_template;
    QHash<int, QWidget*> m_controls;
    QList<QWidget*> m_ordered;  // every control in template order
    QList<RadioGroup> m_radioGroups;
    int m_baseX = 6;
    int m_baseY = 13;
};
