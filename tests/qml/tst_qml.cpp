// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every tst_*.qml of this folder; QmlTestSetup gives each test's engine
// the recording stand-ins the window's documents call.
#include "QmlTestSetup.h"

#include <QtQuickTest>

QUICK_TEST_MAIN_WITH_SETUP(tst_qml, QmlTestSetup)
