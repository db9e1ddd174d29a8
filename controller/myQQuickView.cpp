#include "myQQuickView.h"

#include "Hid_Thread.h"
#include "UserDialogs.h"

#include <QFile>
#include <QFocusEvent>
#include <QStandardPaths>

namespace {
constexpr uint kKeyboardDeviceId = 0;
constexpr int kUserPictureCount = 5;
} // namespace

myQQuickView::myQQuickView(Hid_Thread& worker, UserDialogs& dialogs, QWidget* parent)
    : QQuickWidget(parent), m_worker(worker), m_dialogs(dialogs)
{
    connect(this, &QQuickWidget::statusChanged, this, [this](QQuickWidget::Status status) {
        if (status == QQuickWidget::Ready)
            m_notifier.flushPending();
    });
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::notifyDetectKeyboard(bool isDown, int usage)
{
    m_notifier.post(QStringLiteral("detectKeyboard"), {isDown, usage});
}

void myQQuickView::notifyDetectMouse(bool isDown, uint button, uint x, uint y)
{
    m_notifier.post(QStringLiteral("detectMouse"), {isDown, button, x, y});
}

void myQQuickView::notifySetProtectUI(int interval)
{
    m_notifier.call(QStringLiteral("setProtectUI"), {interval});
}

void myQQuickView::syncFW()
{
    // Only the keyboard keeps user pictures worth mirroring into the profile.
    if (m_worker.curDevice() != kKeyboardDeviceId)
        return;
    for (int index = 0; index < kUserPictureCount; ++index) {
        Block512 picture{};
        m_worker.hid_92H_GetUserPicture(uchar(index), picture);
        storeUserPicture(index, picture);
    }
}

void myQQuickView::storeUserPicture(int index, const std::array<uchar, 512>& picture)
{
    QVariantList values;
    values.reserve(int(picture.size()));
    for (uchar byte : picture)
        values.append(int(byte));
    QSettings& profile = m_profiles.current();
    profile.setValue(QStringLiteral("userPicture/%1").arg(index), values);
    profile.sync();
}

void myQQuickView::initUI()
{
    m_notifier.post(QStringLiteral("initUI"));
}

void myQQuickView::runUI()
{
    m_notifier.post(QStringLiteral("run"));
}

void myQQuickView::setEnableAudio(bool isEnable)
{
    m_audioEnabled = isEnable;
}

// The product has no sounds; the operations exist for the pages that call them.
void myQQuickView::playMedia_Index(uchar) {}
void myQQuickView::playMedia_Background() {}
void myQQuickView::clearAllMedia() {}

QString myQQuickView::getCustomFilePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path = m_dialogs.openFileName(tr("Open File"), folder, tr("Image Files(*.png)"));
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString title = m_messageList.size() > 2 ? m_messageList[2] : tr("Open File");
        const QString text = m_messageList.size() > 3 ? m_messageList[3] : tr("Cannot open the file: ");
        m_dialogs.warning(title, QStringLiteral("%1%2").arg(text, path));
        return {};
    }
    file.close();
    return path;
}

void myQQuickView::focusInEvent(QFocusEvent* event)
{
    repaint();
    event->accept();
}
