// The one way to answer the program's modal questions without a dialog: while
// a function is installed for a kind of question, each question goes to it and
// its result is the answer. Tests answer message boxes and file dialogs so.
#pragma once

#include <QEventLoop>
#include <QTimer>

#include <functional>

// Whether one of the program's questions (a message box, a file dialog) is
// open now. Work that may ask a question of its own waits until none is.
namespace questions {
inline int& openCount()
{
    static int n = 0;
    return n;
}
inline bool anyOpen() { return openCount() > 0; }
// Counts one question as open while it lives.
struct Open {
    Open() { ++openCount(); }
    ~Open() { --openCount(); }
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;
};
}  // namespace questions

template <class Question, class Answer>
class Answerer {
public:
    using Function = std::function<Answer(const Question&)>;

    // An empty function brings the dialogs back.
    static void install(Function f) { slot() = std::move(f); }
    static bool installed() { return bool(slot()); }
    static Answer ask(const Question& q)
    {
        // A real dialog runs an event loop of its own while it waits for the
        // user; an answered one does too, so that whatever may arrive meanwhile
        // (a hand-over, a timer, a change on disk) arrives here as well.
        QEventLoop wait;
        QTimer::singleShot(5, &wait, &QEventLoop::quit);
        wait.exec();
        return slot()(q);
    }

private:
    static Function& slot()
    {
        static Function f;
        return f;
    }
};
