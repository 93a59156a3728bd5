// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ElidedPathLabel.h"

#include <QFontMetrics>

ElidedPathLabel::ElidedPathLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void ElidedPathLabel::setPath(const QString& path) {
    m_path = path;
    setToolTip(path);
    setAccessibleDescription(path);
    elide();
}

QSize ElidedPathLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    return {fontMetrics().averageCharWidth() * 20,
            fontMetrics().height() + margins.top() + margins.bottom()};
}

QSize ElidedPathLabel::minimumSizeHint() const {
    return sizeHint();
}

void ElidedPathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedPathLabel::elide() {
    setText(fontMetrics().elidedText(m_path, Qt::ElideMiddle, contentsRect().width()));
}
