// The modal dialog of Script > Add Code Snippet to Library: a name and a
// description for the code selected in the editor. It opens in the name
// field; Tab goes on to the description, then OK and Cancel.
#pragma once

#include "platform/DialogBuilder.h"

class CAddSnippetDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CAddSnippetDlg(QWidget* parent = nullptr);

    // What was typed, once the dialog has ended with OK.
    const QString& name() const { return m_name; }
    const QString& description() const { return m_description; }

    // A name counts only when it holds more than blanks: a blank name would
    // look like an empty list entry and could not be told apart from another.
    static bool acceptableName(const QString& name);

    // OK: refused while the name is blank, whatever asks for it.
    void accept() override;

protected:
    void DoDataExchange(bool save) override;

private:
    void updateOkButton();

    QString m_description;
    QString m_name;
};
