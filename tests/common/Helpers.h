// Small pieces of set-up that many tests share.
#pragma once

#include "platform/MessageBox.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <functional>

// While it lives, every message box is recorded and answered with `answer`.
struct BoxRecorder {
    QList<mb::Box> boxes;
    int answer;
    std::function<void()> onShow;  // runs as each box is shown

    explicit BoxRecorder(int reply = mb::IDOK) : answer(reply)
    {
        mb::setAnswerer([this](const mb::Box& b) {
            if (onShow)
                onShow();
            boxes.append(b);
            return answer;
        });
    }
    ~BoxRecorder() { mb::setAnswerer({}); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;
};

// Writes bytes to path and returns path; a failure shows in what the test reads back.
inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
