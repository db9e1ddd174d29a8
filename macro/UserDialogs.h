// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The questions the back end asks the user: file choosers and message boxes.
// The GUI implements them with Qt dialogs; quellarctl and tests answer them
// from a script (an answer file, or a canned reply).

#include <QString>

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // Empty result = cancelled.
    virtual QString openFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
    // A warning with one OK button.
    virtual void warning(const QString& title, const QString& text) = 0;
    // A warning with OK and Cancel, Cancel the default; true when OK is chosen.
    virtual bool confirm(const QString& title, const QString& text) = 0;
};
