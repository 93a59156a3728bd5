// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <QPixmap>

// The program's logo, drawn from its vector image at the given size in device-independent pixels.
QPixmap splashLogo(int size, qreal devicePixelRatio);
