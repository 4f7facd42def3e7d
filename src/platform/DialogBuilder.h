// Dialogs built from a template table. Controls are placed where their dialog
// units say, converted through the dialog font's metrics (4 horizontal units
// are the average character width, 8 vertical units the character height),
// created in template order, which is also the tab order.
#pragma once

#include "resources/dialogs.h"

#include <QDialog>
#include <QHash>
#include <QList>

class QButtonGroup;
class QAbstractButton;

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TemplateDialog(const res::DialogTemplate& tmpl, QWidget* parent = nullptr);

    const res::DialogTemplate& dialogTemplate() const { return m_template; }

    // The control with this id (the first, for ids used more than once).
    QWidget* control(int id) const;
    template <class T>
    T* controlAs(int id) const
    {
        return qobject_cast<T*>(control(id));
    }

    // Pixels for dialog units in this dialog's font.
    QPoint toPixels(int x, int y) const;
    int baseUnitX() const { return m_baseX; }
    int baseUnitY() const { return m_baseY; }

    // Runs the dialog modally; answers ids::IDOK or ids::IDCANCEL.
    int DoModal();

    // Moves data between the members and the controls: into the controls
    // when save is false, out of them when it is true.
    bool UpdateData(bool save);

protected:
    virtual void DoDataExchange(bool save);
    void DDX_Check(bool save, int id, int& value);
    void DDX_Text(bool save, int id, QString& value);
    // The index of the ticked radio button of the group that starts at
    // firstId, or -1 when none is. A value outside the group ticks none.
    void DDX_Radio(bool save, int firstId, int& value);

    // OK: exchange into the members, then end with IDOK.
    void accept() override;

private:
    QList<QAbstractButton*> radioGroup(int firstId) const;
    void build();

    const res::DialogTemplate& m_template;
    QHash<int, QWidget*> m_controls;
    QList<QWidget*> m_ordered;  // every control in template order
    int m_baseX = 6;
    int m_baseY = 13;
};
