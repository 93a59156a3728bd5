// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
class QWidget;

// Shows a window modeless and brings it to the front: opening a window that is already open
// shows the same instance again, in front of the others.
void showWindow(QWidget& window);

// Places a window in the middle of the screen, where a new window is looked for.
void centreOnScreen(QWidget& window);
