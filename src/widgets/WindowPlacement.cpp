// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
}

void showWindow(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}
