#include "ViewWidget.h"

#include <QFocusEvent>

void ViewWidget::focusInEvent(QFocusEvent* event) {
    repaint();
    event->accept();
}
