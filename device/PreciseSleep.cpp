// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreciseSleep.h"

#include <algorithm>
#include <sys/prctl.h>
#include <thread>

namespace {

// One nanosecond: the smallest slack the kernel accepts (0 would mean "the default").
constexpr unsigned long kTightSlackNs = 1;
// Even without slack a sleeping thread wakes some tens of microseconds late, and a block
// of sixteen reports pays that sixteen times. So each thread learns how late it usually
// wakes and asks to be woken that much early; what is left it waits out awake. The
// awake wait stays short: on a busy machine a thread that keeps running is soon
// preempted for a whole scheduler tick, which costs far more than it saves.
constexpr std::chrono::microseconds kLongestEarlyWake(150);
constexpr int kLatencySmoothing = 8; // each new sample moves the estimate by 1/8

thread_local std::chrono::nanoseconds t_wakeLatency{0};

class TightTimerSlack {
public:
    TightTimerSlack() : m_previous(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0)) {
        prctl(PR_SET_TIMERSLACK, kTightSlackNs, 0, 0, 0);
    }
    ~TightTimerSlack() {
        if (m_previous > 0)
            prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(m_previous), 0, 0, 0);
    }
    TightTimerSlack(const TightTimerSlack&) = delete;
    TightTimerSlack& operator=(const TightTimerSlack&) = delete;

private:
    int m_previous;
};

void learnWakeLatency(std::chrono::nanoseconds observed) {
    const std::chrono::nanoseconds bounded = std::clamp<std::chrono::nanoseconds>(observed, {}, kLongestEarlyWake);
    t_wakeLatency += (bounded - t_wakeLatency) / kLatencySmoothing;
}

} // namespace

void PreciseSleep::until(Clock::time_point deadline) {
    const Clock::time_point wakeUp = deadline - t_wakeLatency;
    if (Clock::now() < wakeUp) {
        const TightTimerSlack slack;
        std::this_thread::sleep_until(wakeUp);
        learnWakeLatency(Clock::now() - wakeUp);
    }
    // The rest, if the wake-up came early enough; also covers a sleep cut short by a signal.
    while (Clock::now() < deadline) {
    }
}

void PreciseSleep::forMs(int milliseconds) {
    until(Clock::now() + std::chrono::milliseconds(milliseconds));
}
