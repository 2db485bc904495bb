#pragma once
// Our side against its anchor for the in-process benchmarks: the two run in
// turns, round after round, so a busy machine slows both alike, and the
// median ratio (ours / anchor) is printed. Called from the benchmark's own
// thread; takes no locks.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace vxbench {

template <class F>
double Seconds(F&& f)
{
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

template <class Ours, class Anchor>
void Compare(const char* name, Ours&& ours, Anchor&& anchor)
{
    std::vector<double> ratios;
    for (int round = 0; round < 7; ++round) {
        double a = Seconds(anchor);
        double o = Seconds(ours);
        ratios.push_back(o / a);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("%-28s ratio %.2f\n", name, ratios[ratios.size() / 2]);
}

}  // namespace vxbench
