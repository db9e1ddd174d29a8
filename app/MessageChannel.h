// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LocalListener.h"

#include <QByteArray>
#include <QHash>
#include <QObject>

#include <functional>

class QLocalSocket;

// The window text message channel: a local server per host window, found by the window's
// title and its instance's data folder. A message is tag (u32), announced byte length (u32),
// then the UTF-8 bytes and a terminating zero, all little-endian. Only a warning-tagged message
// whose text has exactly the announced UTF-8 length reaches the handler, and an empty
// raise-tagged message (a second start of the program) the raise handler; anything else is
// read and dropped. Lives on the GUI thread.
class MessageChannel : public QObject {
    Q_OBJECT
public:
    using TextHandler = std::function<void(const QString& text)>;
    using RaiseHandler = std::function<void()>;

    static constexpr quint32 kWarningTag = 0x250F;
    static constexpr quint32 kRaiseTag = 0x2510;
    // Longest message accepted; a sender that goes on is cut off.
    static constexpr int kMaxMessageBytes = 64 * 1024;

    explicit MessageChannel(LocalListener::Limits limits = {}, QObject* parent = nullptr);
    ~MessageChannel() override;

    void setHandler(TextHandler handler);
    void setRaiseHandler(RaiseHandler handler);
    bool listen(const QString& windowTitle, const QString& dataFolder = {});
    bool isListening() const;
    int connectionCount() const { return m_listener.connectionCount(); }

    static QString serverNameFor(const QString& windowTitle, const QString& dataFolder = {});

    // True when a listener of this user took the message; nothing is sent when no window has the title.
    static bool sendText(const QString& windowTitle, const QString& text, const QString& dataFolder = {});
    // Asks the window with this title to come forward; false when nobody listens.
    static bool sendRaise(const QString& windowTitle, const QString& dataFolder = {});
    // Sends the frame as given, so a wrong length can be announced (used to test the receiver).
    static bool sendFrame(const QString& windowTitle, quint32 tag, quint32 announcedLength, const QByteArray& bytes,
                          const QString& dataFolder = {});

private:
    void accept(QLocalSocket* socket);
    void readFrom(QLocalSocket* socket);
    void finish(QLocalSocket* socket);
    void deliver(const QByteArray& frame);

    QHash<QLocalSocket*, QByteArray> m_pending;
    TextHandler m_handler;
    RaiseHandler m_raiseHandler;
    LocalListener m_listener; // last, so destroyed first: its sockets go before the state they report to
};
