// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pauses the device needs are lower bounds: a report may go out later than its
// pause allows, never earlier. Sleeping to a deadline on the monotonic clock,
// with the calling thread's timer slack at its minimum for the sleep and a
// wake-up brought forward by the latency the thread has seen so far (the rest
// waited out awake, never more than 150 us), keeps the time beyond a pause to
// microseconds instead of the default slack plus the overshoot of each
// relative sleep, which a block of sixteen reports pays sixteen times.
//
// Threads: any; the slack is the calling thread's own and is restored after each sleep.

#include <chrono>

namespace PreciseSleep {

using Clock = std::chrono::steady_clock;

// Returns no earlier than `deadline`.
void until(Clock::time_point deadline);
// Returns no earlier than `milliseconds` after the call.
void forMs(int milliseconds);

} // namespace PreciseSleep
