// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayNotifier.h"

#include <QSystemTrayIcon>

void TrayNotifier::notify(const QString& title, const QString& text, int msecs) {
    m_icon.showMessage(title, text, QSystemTrayIcon::Information, msecs);
}
