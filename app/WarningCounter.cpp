// SPDX-License-Identifier: GPL-3.0-or-later
#include "WarningCounter.h"

#include <QByteArrayView>
#include <QString>
#include <cstdio>

std::atomic<int> WarningCounter::s_count{0};
QtMessageHandler WarningCounter::s_previous = nullptr;

WarningCounter::WarningCounter() {
    s_count.store(0);
    s_previous = qInstallMessageHandler(&WarningCounter::handle);
}

WarningCounter::~WarningCounter() {
    qInstallMessageHandler(s_previous);
}

void WarningCounter::handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const bool ours = context.category && QByteArrayView(context.category).startsWith("quellar.");
    if (ours && (type == QtWarningMsg || type == QtCriticalMsg))
        s_count.fetch_add(1);
    if (s_previous)
        s_previous(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}
