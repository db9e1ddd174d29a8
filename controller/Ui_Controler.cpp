// SPDX-License-Identifier: GPL-3.0-or-later
#include "Ui_Controler.h"

#include "AppConfig.h"
#include "Backend.h"
#include "Hid_Thread.h"
#include "ViewWidget.h"
#include "myQQuickView.h"

#include <QFont>
#include <QQmlContext>
#include <QUrl>

namespace {
// The window's texts ask for "微软雅黑", which Linux desktops do not have: map it
// to CJK families Debian ships, so Chinese texts never show boxes and Latin
// texts keep one consistent face.
void installFontFallbacks() {
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"),
                               {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Droid Sans Fallback")});
}
} // namespace

Ui_Controler::Ui_Controler(QWidget* owner, Backend& backend, UserDialogs& dialogs, std::function<bool()> canHideToTray)
    : m_owner(owner), m_canHideToTray(std::move(canHideToTray)) {
    if (owner->objectName().isEmpty())
        owner->setObjectName(QStringLiteral("Widget"));
    owner->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    owner->setWindowOpacity(1.0);
    owner->setAttribute(Qt::WA_TranslucentBackground);
    owner->setStyleSheet(QStringLiteral("background:transparent;"));

    installFontFallbacks();
    m_view = new myQQuickView(backend, dialogs, owner);
    m_view->setObjectName(QStringLiteral("ui_View"));
    m_viewWidget = new ViewWidget(owner);
    m_viewWidget->setObjectName(QStringLiteral("ui_View"));
    m_viewWidget->setAttribute(Qt::WA_AlwaysStackOnTop);
    m_viewWidget->setClearColor(Qt::transparent);
    m_viewWidget->setResizeMode(QQuickWidget::SizeViewToRootObject);
    m_view->attachWindow(m_viewWidget);
    m_viewWidget->setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
    // After the source, as QML only reaches them once its functions run.
    QQmlContext* context = m_viewWidget->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), m_view);
    context->setContextProperty(QStringLiteral("hid"), &backend.worker());
    context->setContextProperty(QStringLiteral("ui_Ctl"), this);

    owner->resize(m_viewWidget->size());
    owner->setWindowTitle(AppConfig::windowTitle());
}

Ui_Controler::Ui_Controler(myQQuickView* view) : m_view(view) {}

Ui_Controler::~Ui_Controler() = default;

ViewWidget* Ui_Controler::viewWidget() const {
    return m_viewWidget;
}

void Ui_Controler::onMinimize() {
    if (m_owner)
        m_owner->showMinimized();
}

void Ui_Controler::onClose() {
    if (!m_owner)
        return;
    // Without a tray or hot key a hidden window could never come back.
    if (m_canHideToTray && !m_canHideToTray())
        m_owner->showMinimized();
    else
        m_owner->setVisible(false);
}

void Ui_Controler::onXChanged(int x) {
    if (m_owner)
        m_owner->move(m_owner->x() + x, m_owner->y());
}

void Ui_Controler::onYChanged(int y) {
    if (m_owner)
        m_owner->move(m_owner->x(), m_owner->y() + y);
}

void Ui_Controler::setBusy(int busyTime) {
    if (m_owner && m_view)
        m_view->notifySetProtectUI(busyTime);
}

void Ui_Controler::setBusy() {
    setBusy(0);
}
