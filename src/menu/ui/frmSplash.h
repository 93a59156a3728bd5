// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <QWidget>

class QFrame;
class QLabel;

// The start-up window: it stays until a character key or a click on its frame or product texts.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();

signals:
    // The first key or click that dismisses it; later ones say nothing.
    void dismissed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Frame1_Click() { dismiss(); }
    void lblCompanyProduct_Click() { dismiss(); }
    void lblProductName_Click() { dismiss(); }
    void dismiss();

    bool m_dismissed = false;
    QFrame* Frame1;
    QLabel* imgLogo;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblCompanyProduct;
    QLabel* Label2;
};
