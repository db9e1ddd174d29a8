// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Puts the window text messages in front of the user one warning at a time. A warning box runs
// its own event loop, where the next message arrives and would open a box inside the box, so a
// flood nested boxes until the stack ran out. While a box is open (or about to open), whatever
// arrives is dropped and counted, and the count is logged once when the box closes. The box
// opens from the event loop, never from inside the channel's read. GUI thread.
class WarningPresenter : public QObject {
    Q_OBJECT
public:
    // Shows one warning and returns when the user has closed it.
    using ShowFunction = std::function<void(const QString& text)>;

    explicit WarningPresenter(ShowFunction show, QObject* parent = nullptr);

    void offer(const QString& text);
    bool isShowing() const { return m_busy; }
    int shownCount() const { return m_shown; }
    int droppedCount() const { return m_dropped; }

private:
    Q_INVOKABLE void present(const QString& text);

    ShowFunction m_show;
    bool m_busy = false;
    int m_shown = 0;
    int m_dropped = 0;          // in all
    int m_droppedMeanwhile = 0; // while the current box is open
};
