// The one way to answer the program's modal questions without a dialog: while
// a function is installed for a kind of question, each question goes to it and
// its result is the answer. Tests answer message boxes and file dialogs so.
#pragma once

#include <functional>

template <class Question, class Answer>
class Answerer {
public:
    using Function = std::function<Answer(const Question&)>;

    // An empty function brings the dialogs back.
    static void install(Function f) { slot() = std::move(f); }
    static bool installed() { return bool(slot()); }
    static Answer ask(const Question& q) { return slot()(q); }

private:
    static Function& slot()
    {
        static Function f;
        return f;
    }
};
