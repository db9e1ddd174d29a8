// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A posted event carrying one integer tag; tag kRunUi asks the host window to
// start the UI once the event loop runs.

#include <QEvent>

class UserEvent : public QEvent {
public:
    static constexpr int kRunUi = 2177;

    explicit UserEvent(int tag) : QEvent(QEvent::User), m_tag(tag) {}
    int tag() const { return m_tag; }

private:
    int m_tag;
};
