// Go To Line: asks for a line number of the script and moves the caret there.
#pragma once

#include <QDialog>

class QSpinBox;
class ScriptEditControl;

class GoToLineDlg : public QDialog {
    Q_OBJECT
public:
    // Offers the lines 1 to lineCount, starting at current.
    GoToLineDlg(int current, int lineCount, QWidget* parent = nullptr);

    int line() const;

    // Edit > Go To Line...: asks, and on OK puts the caret at the start of the
    // chosen line of edit. False when the user cancelled.
    static bool run(ScriptEditControl* edit);

private:
    QSpinBox* m_line;
};
