// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The QQuickWidget that shows the window's QML inside the host window. The
// operations QML calls live in myQQuickView ("ui_View"); this only draws.
// GUI thread only.

#include <QQuickWidget>

class ViewWidget : public QQuickWidget {
    Q_OBJECT
public:
    using QQuickWidget::QQuickWidget;

protected:
    void focusInEvent(QFocusEvent* event) override;
};
