// Timing helpers shared by the benchmark programs.
#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median over runs of f's time in milliseconds.
inline double timeMs(int runs, const std::function<void()>& f)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        t.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(t);
}

// One figure: "name value unit".
inline void print(const char* name, double value, const char* unit) { std::printf("%s %.4f %s\n", name, value, unit); }

}  // namespace bench
