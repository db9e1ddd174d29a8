// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkState.h"

#include <QMutex>

namespace {
QMutex s_prefixLock;
std::array<QString, LinkState::kStageCount> s_prefixes = [] {
    std::array<QString, LinkState::kStageCount> texts;
    texts.fill(QStringLiteral("DPI Switch to"));
    return texts;
}();
} // namespace

QString LinkState::dpiMessagePrefix(int index) {
    if (index < 0 || index >= kStageCount)
        return {};
    QMutexLocker lock(&s_prefixLock);
    return s_prefixes[index];
}

void LinkState::setDpiMessagePrefix(int index, const QString& text) {
    if (index < 0 || index >= kStageCount)
        return;
    QMutexLocker lock(&s_prefixLock);
    s_prefixes[index] = text;
}
