#pragma once
// The QML view inside the host window and, as the context property "ui_View",
// the object behind every QML call. It owns the live configuration, the ten
// profiles and the subsystem objects; its slots forward to them one to one, so
// each rule lives in its subsystem and the names here are only the contract
// with the QML files. GUI thread only.

#include <QQuickWidget>
#include <QStringList>
#include <QVariant>

#include "ProfileStore.h"
#include "QmlRootNotifier.h"

class Hid_Thread;
class UserDialogs;

class myQQuickView : public QQuickWidget {
    Q_OBJECT
public:
    myQQuickView(Hid_Thread& worker, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~myQQuickView() override;

    Hid_Thread& worker() { return m_worker; }
    ProfileStore& profiles() { return m_profiles; }

    // Notifications into the QML root.
    void notifyDetectKeyboard(bool isDown, int usage);
    void notifyDetectMouse(bool isDown, uint button, uint x, uint y);
    void notifySetProtectUI(int interval);

public slots:
    void syncFW();
    void initUI();
    void runUI();
    void setEnableAudio(bool isEnable);
    void playMedia_Index(uchar index);
    void playMedia_Background();
    void clearAllMedia();
    QString getCustomFilePath();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void storeUserPicture(int index, const std::array<uchar, 512>& picture);

    Hid_Thread& m_worker;
    UserDialogs& m_dialogs;
    bool m_audioEnabled = true;
    // Texts for warning boxes; nothing fills it, readers must check its size.
    QStringList m_messageList;
    ProfileStore m_profiles;
    QmlRootNotifier m_notifier{this};
};
