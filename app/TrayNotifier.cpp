#include "TrayNotifier.h"

#include <QSystemTrayIcon>

void TrayNotifier::notify(const QString& title, const QString& text, int msecs) {
    m_icon.showMessage(title, text, QSystemTrayIcon::Information, msecs);
}
