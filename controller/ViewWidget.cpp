// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewWidget.h"

#include <QFocusEvent>

void ViewWidget::focusInEvent(QFocusEvent* event) {
    repaint();
    event->accept();
}
