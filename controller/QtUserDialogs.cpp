// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtUserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

QString QtUserDialogs::openFileName(const QString& caption, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(m_parent, caption, folder, filter);
}

QString QtUserDialogs::saveFileName(const QString& caption, const QString& folder, const QString& filter) {
    return QFileDialog::getSaveFileName(m_parent, caption, folder, filter);
}

void QtUserDialogs::warning(const QString& title, const QString& text) {
    QMessageBox::warning(nullptr, title, text, QMessageBox::Ok);
}

bool QtUserDialogs::confirm(const QString& title, const QString& text) {
    return QMessageBox::warning(nullptr, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) ==
           QMessageBox::Ok;
}
