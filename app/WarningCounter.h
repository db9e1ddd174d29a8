// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Counts the warnings of Quellar's own logging categories ("quellar.*") while
// it lives. Every refusal and every failure of the back end is logged as one
// such warning, so a count above zero means something was not done. Messages
// still reach the handler that was installed before.
//
// Threads: device transfers log from pool threads; the count is atomic.

#include <QtGlobal>
#include <atomic>

class WarningCounter {
public:
    WarningCounter();
    ~WarningCounter();
    WarningCounter(const WarningCounter&) = delete;
    WarningCounter& operator=(const WarningCounter&) = delete;

    int count() const { return s_count.load(); }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    static std::atomic<int> s_count;
    static QtMessageHandler s_previous;
};
