#pragma once
// UserDialogs double: answers from fields the test sets and records what was asked.

#include "UserDialogs.h"

#include <QStringList>

class ScriptedDialogs : public UserDialogs {
public:
    QString openAnswer;
    QString saveAnswer;
    bool confirmAnswer = false;
    QStringList asked; // "open|caption|filter", "save|...", "warning|title|text", "confirm|title|text"

    QString openFileName(const QString& caption, const QString&, const QString& filter) override {
        asked << QStringLiteral("open|%1|%2").arg(caption, filter);
        return openAnswer;
    }
    QString saveFileName(const QString& caption, const QString&, const QString& filter) override {
        asked << QStringLiteral("save|%1|%2").arg(caption, filter);
        return saveAnswer;
    }
    void warning(const QString& title, const QString& text) override {
        asked << QStringLiteral("warning|%1|%2").arg(title, text);
    }
    bool confirm(const QString& title, const QString& text) override {
        asked << QStringLiteral("confirm|%1|%2").arg(title, text);
        return confirmAnswer;
    }
};
