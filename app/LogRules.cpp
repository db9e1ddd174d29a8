#include "LogRules.h"

#include <QLoggingCategory>

QString LogRules::filterRules(bool verbose) {
    return verbose ? QStringLiteral("quellar.*.debug=true") : QStringLiteral("quellar.*.debug=false");
}

void LogRules::apply(bool verbose) {
    QLoggingCategory::setFilterRules(filterRules(verbose));
}
