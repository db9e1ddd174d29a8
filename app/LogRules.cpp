// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogRules.h"

#include <QLoggingCategory>

void LogRules::apply(bool verbose) {
    QLoggingCategory::setFilterRules(verbose ? QStringLiteral("quellar.*.debug=true")
                                             : QStringLiteral("quellar.*.debug=false"));
}
