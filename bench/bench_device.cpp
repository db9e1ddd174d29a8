// SPDX-License-Identifier: GPL-3.0-or-later
// Timed loops against the virtual mouse through the real transport: how long a
// set command holds its caller, how much each transfer takes beyond the pauses
// the protocol mandates, and the CPU the idle listener costs. Prints figures;
// it asserts nothing.

#include "DeviceTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int kRounds = 15;
constexpr int kSettleMs = 128;
constexpr int kGapMs = 8;
constexpr int kIdleSeconds = 10;

struct Figures {
    double median = 0;
    double max = 0;
};

Figures summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.back()};
}

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double processCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Command {
    const char* name;
    bool isSet;
    int mandatedMs; // pauses of the transfer itself
    std::function<void(Hid_Thread&)> run;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    VirtualHidBackend backend;
    FakeConfig config;
    RecordingHost host;
    Hid_Thread worker(backend, config, &host);
    worker.setRecords(virtualMouseRecords());

    const Block64 matrix{};
    const Block128 macro{};
    const Block512 block512{};
    const Block8 dpi{};
    const std::vector<Command> commands{
        {"01H set rate (settle)", true, kSettleMs, [](Hid_Thread& w) { w.hid_01H_SetReportRate(2); }},
        {"02H set profile (+8 ms caller pause)", true, kGapMs, [](Hid_Thread& w) { w.hid_02H_SetCurrentProfile(0); }},
        {"0BH set stage (settle)", true, kSettleMs, [](Hid_Thread& w) { w.hid_0BH_SetCurrentDPIStage(2); }},
        {"11H set DPI (8 B)", true, 2 * kSettleMs + kGapMs, [&](Hid_Thread& w) { w.hid_11H_SetDPISet(6, dpi); }},
        {"12H set key matrix (64 B)", true, 2 * kSettleMs + 2 * kGapMs,
         [&](Hid_Thread& w) { w.hid_12H_SetKeyMatrix(matrix, 1); }},
        {"13H set macro (128 B)", true, 2 * kSettleMs + 4 * kGapMs,
         [&](Hid_Thread& w) { w.hid_13H_SetMacroKey(1, macro); }},
        {"0DH set kb matrix (512 B)", true, 2 * kSettleMs + 16 * kGapMs,
         [&](Hid_Thread& w) { w.hid_0DH_SetKeyMatrix(block512); }},
        {"81H get rate", false, 0,
         [](Hid_Thread& w) {
             uchar rate = 0;
             w.hid_81H_GetReportRate(rate);
         }},
        {"92H get key matrix (64 B)", false, 0,
         [](Hid_Thread& w) {
             Block64 b{};
             w.hid_92H_GetKeyMatrix(b);
         }},
        {"8DH get kb matrix (512 B)", false, 0,
         [](Hid_Thread& w) {
             Block512 b{};
             w.hid_8DH_GetKeyMatrix(b);
         }},
    };

    std::printf("Device link benchmark on the virtual mouse, %d rounds per command\n\n", kRounds);
    std::printf("%-38s %14s %14s %20s %20s\n", "command", "hold median", "hold max", "over pauses median",
                "over pauses max");
    for (const Command& command : commands) {
        std::vector<double> hold;
        std::vector<double> overhead;
        for (int round = 0; round < kRounds; ++round) {
            worker.waitForTransfers();
            const double start = nowMs();
            command.run(worker);
            const double returned = nowMs();
            worker.waitForTransfers();
            const double finished = nowMs();
            hold.push_back(returned - start);
            // The caller's own 8 ms pause (02H) is not part of the transfer.
            overhead.push_back((command.isSet ? finished - start : returned - start) - command.mandatedMs);
        }
        const Figures h = summarise(hold);
        const Figures o = summarise(overhead);
        std::printf("%-38s %11.4f ms %11.4f ms %17.4f ms %17.4f ms\n", command.name, h.median, h.max, o.median, o.max);
    }

    // The listener on an idle mouse: one 500 ms bounded read after another.
    worker.chkDeviceIsEnCode();
    worker.waitForTransfers();
    const double cpuStart = processCpuMs();
    const double wallStart = nowMs();
    QThread::sleep(kIdleSeconds);
    const double cpuUsed = processCpuMs() - cpuStart;
    const double wallUsed = nowMs() - wallStart;
    uchar rate = 0;
    worker.hid_81H_GetReportRate(rate);
    std::printf("\nsanity: report rate read back %d, command path \"%s\"\n", rate,
                qPrintable(worker.records().at(1).path));

    std::printf("\nlistener idle: %.3f ms CPU in %.0f ms wall -> %.1f ms CPU per idle minute (%.4f %% of one core)\n",
                cpuUsed, wallUsed, cpuUsed * 60000.0 / wallUsed, 100.0 * cpuUsed / wallUsed);
    worker.stopListener();
    return 0;
}
