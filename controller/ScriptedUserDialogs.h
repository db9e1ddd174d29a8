// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UserDialogs for runs without a window (quellarctl, tests): file choosers
// answer with a fixed path (empty = cancelled), message boxes are written to
// standard error and answered with their default button.

#include "UserDialogs.h"

#include <QStringList>

class ScriptedUserDialogs : public UserDialogs {
public:
    explicit ScriptedUserDialogs(QString answerPath = {}) : m_answerPath(std::move(answerPath)) {}

    void setAnswerPath(const QString& path) { m_answerPath = path; }
    // Every message box shown so far, as "title: text".
    const QStringList& shownMessages() const { return m_shownMessages; }

    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override;
    void warning(const QString& title, const QString& text) override;
    bool confirm(const QString& title, const QString& text) override;

private:
    void show(const QString& title, const QString& text);

    QString m_answerPath;
    QStringList m_shownMessages;
};
