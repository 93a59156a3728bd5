// SPDX-License-Identifier: GPL-3.0-or-later

#include "menu/ui/SplashLogo.h"

#include <QPainter>
#ifdef SELVO_LOGO_PICTURE
#include <QImage>
#else
#include <QSvgRenderer>
#endif

QPixmap splashLogo(int size, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
#ifdef SELVO_LOGO_PICTURE
    // Rendered large from the vector image at build time, so scaling down stays sharp.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(0, 0, size, size), QImage(QStringLiteral(":/menu/logo.png")));
#else
    QSvgRenderer renderer(QStringLiteral(":/menu/logo.svg"));
    renderer.render(&painter, QRectF(0, 0, size, size));
#endif
    return pixmap;
}
