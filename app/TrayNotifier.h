// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Notifier.h"

class QSystemTrayIcon;

// Messages as balloons of Qt's tray icon: the fallback where no notification server runs.
class TrayNotifier : public Notifier {
public:
    explicit TrayNotifier(QSystemTrayIcon& icon) : m_icon(icon) {}
    void notify(const QString& title, const QString& text, int msecs) override;

private:
    QSystemTrayIcon& m_icon;
};
