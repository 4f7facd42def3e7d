// SIGTERM and SIGHUP (a logout, a shutdown, `kill`) as a Qt signal, emitted
// from the event loop: the handler itself only writes the signal's number
// into a pipe, which is all a signal handler may safely do.
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Catches both signals while it lives; one object per process.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
