// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLabel>

// A path in one line, shortened in the middle to the width it is given (the drive and the
// last folders stay readable); the whole path is its tooltip and what a screen reader says.
// It asks for no width of its own, so a long path never widens its window.
class ElidedPathLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedPathLabel(QWidget* parent = nullptr);

    void setPath(const QString& path);
    QString path() const { return m_path; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();
    QString m_path;
};
