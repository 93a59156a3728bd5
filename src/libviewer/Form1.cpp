// SPDX-License-Identifier: GPL-3.0-or-later

#include "libviewer/Form1.h"

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <qcustomplot.h>

namespace kalvexlib {

namespace {

// Positions are laid out in twips; at 96 dots per inch a pixel is 15 twips.
QRect fromTwips(int left, int top, int width, int height) {
    constexpr int kTwipsPerPixel = 15;
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
            height / kTwipsPerPixel};
}

// The sixteen colours of the classic icon palette.
QList<QRgb> sixteenColours() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

// Three books on a shelf, one image per size, in sixteen colours.
QImage shelfImage(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 128));
    painter.drawRect(2, 3, 3, 11);
    painter.setBrush(QColor(128, 0, 0));
    painter.drawRect(6, 5, 3, 9);
    painter.setBrush(QColor(0, 128, 0));
    painter.drawRect(10, 2, 3, 12);
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRect(1, 14, 14, 1);
    painter.end();
    return image.convertToFormat(QImage::Format_Indexed8, sixteenColours(), Qt::ThresholdDither);
}

QIcon shelfIcon() {
    QIcon icon;
    for (const int size : {16, 32}) {
        icon.addPixmap(QPixmap::fromImage(shelfImage(size)));
    }
    return icon;
}

} // namespace

Form1::Form1() : endProgram([] { QApplication::exit(0); }), m_pictureIcon(shelfIcon()) {
    setObjectName("Form1");
    setWindowTitle("Kalvexlib");
    setWindowIcon(m_pictureIcon);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setAccessibleName("Barra di stato");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(fromTwips(0, 480, 5220, 375));

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setAccessibleName("Barra degli strumenti");
    Toolbar1->setGeometry(fromTwips(0, 0, 5220, 630));

    Command1 = new QPushButton("Librerie Installate", this);
    Command1->setObjectName("Command1");
    Command1->setAccessibleName("Librerie Installate");
    Command1->setGeometry(fromTwips(3480, 120, 1695, 495));

    // The grid, the chart, the rich text box and the picture lie below the visible area:
    // they are loaded, not seen.
    DBGrid1 = new QTableWidget(0, 2, this);
    DBGrid1->setObjectName("DBGrid1");
    DBGrid1->setAccessibleName("Griglia dati");
    DBGrid1->setHorizontalHeaderLabels({QString(), QString()});
    DBGrid1->setGeometry(fromTwips(1320, 1680, 1215, 615));

    // An empty plot, as stored with the form: no data is set by code.
    MSChart1 = new QCustomPlot(this);
    MSChart1->setObjectName("MSChart1");
    MSChart1->setAccessibleName("Grafico");
    MSChart1->setGeometry(fromTwips(3480, 1320, 1215, 975));

    CommonDialog1 = new QFileDialog(this);
    CommonDialog1->setObjectName("CommonDialog1");

    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setObjectName("RichTextBox1");
    RichTextBox1->setAccessibleName("Testo formattato");
    RichTextBox1->setGeometry(fromTwips(2040, 1080, 1095, 855));
    QTextCharFormat boldArial;
    boldArial.setFontFamilies({QStringLiteral("Arial")});
    boldArial.setFontPointSize(10);
    boldArial.setFontWeight(QFont::Bold);
    QTextCursor cursor(RichTextBox1->document());
    cursor.setCharFormat(boldArial);
    cursor.insertText("LIBRERIA RTF");

    Picture1 = new QLabel(this);
    Picture1->setObjectName("Picture1");
    Picture1->setAccessibleName("Immagine");
    Picture1->setGeometry(fromTwips(240, 1560, 735, 735));
    Picture1->setPixmap(m_pictureIcon.pixmap(32, 32));

    // The toolbar band stays behind the button that sits on it.
    Toolbar1->lower();
    setFixedSize(fromTwips(0, 0, 5220, 855).size());

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
}

void Form1::Command1_Click() {
    endProgram();
}

} // namespace kalvexlib
