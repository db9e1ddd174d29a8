// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UserDialogs shown with Qt's standard file dialogs and message boxes.

#include "UserDialogs.h"

class QWidget;

class QtUserDialogs : public UserDialogs {
public:
    // Dialogs are parented to `parent` when given (the view), else top-level.
    void setParentWidget(QWidget* parent) { m_parent = parent; }

    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override;
    void warning(const QString& title, const QString& text) override;
    bool confirm(const QString& title, const QString& text) override;

private:
    QWidget* m_parent = nullptr;
};
