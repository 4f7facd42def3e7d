// Drives a modal dialog that a command is about to open: the action runs on
// the dialog once it is up (within the dialog's own event loop), then the
// dialog is rejected if the action left it open.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <memory>

#include <functional>

// Call before the command that opens the dialog. The action receives the
// modal widget (null if none came up within timeoutMs).
inline void whenModal(std::function<void(QWidget*)> action, int timeoutMs = 3000)
{
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, action = std::move(action), timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        *waited += 10;
        // Keys go to the focused control: wait until the dialog is active too
        // (a loaded machine activates it a little after showing it).
        if ((!modal || !modal->isActiveWindow()) && *waited < timeoutMs)
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
        if (auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget()); dlg && dlg == modal)
            dlg->reject();
    });
    timer->start(10);
}
