// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which messages the log gets. Debug lines of our own categories (quellar.*) are off
// unless --verbose asks for them; QT_LOGGING_RULES is evaluated after these rules, so it
// still turns any category on or off. Nothing at any level carries a key or button event
// or the contents of a macro: the log is readable by more people than the user.
class LogRules {
public:
    // Installs the rules; call once, after the application object exists.
    static void apply(bool verbose);
};
