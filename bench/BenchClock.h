#pragma once
// The benchmarks' clock: the performance counter in microseconds, and the
// median of repeated runs of a piece of work.
#include <windows.h>

#include <algorithm>
#include <vector>

namespace Bench {

inline double NowMicroseconds()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f {};
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now {};
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

template <class Fn>
double MedianMicroseconds(int repetitions, Fn&& fn)
{
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        const double start = NowMicroseconds();
        fn();
        samples.push_back(NowMicroseconds() - start);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

}  // namespace Bench
