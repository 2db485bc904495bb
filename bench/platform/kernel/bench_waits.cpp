// Kernel waits beside an anchor of plain standard-library condition
// variables doing the same work: a ping-pong between two threads, and waking
// one chosen thread among 300 waiting ones (as with one recording thread per
// camera). Prints each time and its ratio to the anchor.
//   bench_waits                 both comparisons
//   bench_waits kernel|anchor   one side of the 300-waiter case alone

#include "platform/kernel/synch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A one-shot signal built straight on the standard library.
struct AnchorEvent {
    std::mutex m;
    std::condition_variable cv;
    bool set = false;
    void signal()
    {
        {
            std::lock_guard<std::mutex> g(m);
            set = true;
        }
        cv.notify_one();
    }
    void wait()
    {
        std::unique_lock<std::mutex> l(m);
        cv.wait(l, [this] { return set; });
        set = false;
    }
};

struct KernelEvent {
    HANDLE h = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    ~KernelEvent() { CloseHandle(h); }
    void signal() { SetEvent(h); }
    void wait() { WaitForSingleObject(h, INFINITE); }
};

template <class Event>
double PingPong(int rounds)
{
    Event ping, pong;
    std::thread partner([&] {
        for (int i = 0; i < rounds; ++i) {
            ping.wait();
            pong.signal();
        }
    });
    auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        ping.signal();
        pong.wait();
    }
    double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / rounds;
    partner.join();
    return ns;
}

template <class Event>
double WakeOneOfMany(int threads, int rounds)
{
    std::vector<Event> wake(threads);
    Event ack;
    std::atomic<bool> stop{false};
    std::vector<std::thread> waiters;
    for (int t = 0; t < threads; ++t)
        waiters.emplace_back([&, t] {
            for (;;) {
                wake[t].wait();
                if (stop.load())
                    return;
                ack.signal();
            }
        });
    auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        wake[(i * 7) % threads].signal();
        ack.wait();
    }
    double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / rounds;
    stop = true;
    for (auto& e : wake)
        e.signal();
    for (auto& w : waiters)
        w.join();
    return ns;
}

void Report(const char* what, double ours, double anchor)
{
    printf("%-28s kernel %9.0f ns  anchor %9.0f ns  ratio %.2f\n", what, ours, anchor, ours / anchor);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs the two side by side, alternating, and reports the medians: the
// machine is shared, and single runs vary several times over.
template <class Ours, class Anchor>
void Compare(const char* what, Ours ours, Anchor anchor)
{
    std::vector<double> a, b;
    for (int rep = 0; rep < 7; ++rep) {
        a.push_back(ours());
        b.push_back(anchor());
    }
    Report(what, Median(a), Median(b));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2) {
        // One side alone, for profiling: "kernel" or "anchor".
        bool kernel = std::string(argv[1]) == "kernel";
        double ns = kernel ? WakeOneOfMany<KernelEvent>(300, 20000) : WakeOneOfMany<AnchorEvent>(300, 20000);
        printf("%s wake one of 300: %.0f ns\n", argv[1], ns);
        return 0;
    }
    Compare(
        "ping-pong", [] { return PingPong<KernelEvent>(10000); }, [] { return PingPong<AnchorEvent>(10000); });
    Compare(
        "wake one of 300 waiters", [] { return WakeOneOfMany<KernelEvent>(300, 3000); },
        [] { return WakeOneOfMany<AnchorEvent>(300, 3000); });
    return 0;
}
