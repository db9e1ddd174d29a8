// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns SIGTERM, SIGINT and SIGHUP (logout, Ctrl+C, `kill`) into a normal quit
// of the event loop, so the program still shuts down cleanly: hooks removed,
// listener stopped, pending transfers finished. The signal handler only writes
// to a pipe; the GUI thread reads it.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool isInstalled() const { return m_notifier != nullptr; }

signals:
    void terminationRequested();

private:
    static void onSignal(int number);

    std::unique_ptr<QSocketNotifier> m_notifier;
};
