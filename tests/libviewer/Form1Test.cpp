// SPDX-License-Identifier: GPL-3.0-or-later

#include "libviewer/Form1.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolBar>
#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace {

template <typename T> T* control(QWidget& form, const char* name) {
    return form.findChild<T*>(QString::fromLatin1(name));
}

TEST(KalvexlibForm, HostsOneOfEachComponentKind) {
    kalvexlib::Form1 form;
    EXPECT_NE(control<QStatusBar>(form, "StatusBar1"), nullptr);
    EXPECT_NE(control<QToolBar>(form, "Toolbar1"), nullptr);
    EXPECT_NE(control<QPushButton>(form, "Command1"), nullptr);
    EXPECT_NE(control<QTableWidget>(form, "DBGrid1"), nullptr);
    EXPECT_NE(control<QCustomPlot>(form, "MSChart1"), nullptr);
    EXPECT_NE(control<QFileDialog>(form, "CommonDialog1"), nullptr);
    EXPECT_NE(control<QTextEdit>(form, "RichTextBox1"), nullptr);
    EXPECT_NE(control<QLabel>(form, "Picture1"), nullptr);
}

TEST(KalvexlibForm, ShowsOnlyTheToolbarBandAndStatusBar) {
    kalvexlib::Form1 form;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Kalvexlib");
    EXPECT_EQ(form.size(), QSize(348, 57));
    EXPECT_EQ(control<QPushButton>(form, "Command1")->text(), "Librerie Installate");
    EXPECT_EQ(control<QPushButton>(form, "Command1")->geometry(), QRect(232, 8, 113, 33));
    EXPECT_EQ(control<QStatusBar>(form, "StatusBar1")->geometry().bottom(), 56);
    for (const char* hidden : {"DBGrid1", "MSChart1", "RichTextBox1", "Picture1"}) {
        EXPECT_GE(control<QWidget>(form, hidden)->geometry().top(), 57) << hidden;
    }
    EXPECT_FALSE(control<QFileDialog>(form, "CommonDialog1")->isVisible());
}

TEST(KalvexlibForm, ComponentsHoldTheirInitialContent) {
    kalvexlib::Form1 form;
    const auto* grid = control<QTableWidget>(form, "DBGrid1");
    ASSERT_EQ(grid->columnCount(), 2);
    EXPECT_EQ(grid->rowCount(), 0);
    for (int column = 0; column < 2; ++column) {
        EXPECT_TRUE(grid->horizontalHeaderItem(column)->text().isEmpty()) << column;
    }
    const auto* chart = control<QCustomPlot>(form, "MSChart1");
    EXPECT_EQ(chart->graphCount(), 0);
    EXPECT_EQ(chart->plottableCount(), 0);

    const QTextDocument* rich = control<QTextEdit>(form, "RichTextBox1")->document();
    EXPECT_EQ(rich->toPlainText(), "LIBRERIA RTF");
    EXPECT_EQ(rich->blockCount(), 1);
    const QTextCharFormat format = rich->firstBlock().begin().fragment().charFormat();
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
    EXPECT_EQ(format.fontPointSize(), 10);
    EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{"Arial"});

    const QList<QSize> sizes = form.pictureIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_FALSE(control<QLabel>(form, "Picture1")->pixmap().isNull());
}

TEST(KalvexlibForm, ButtonEndsTheProgramAtOnce) {
    kalvexlib::Form1 form;
    int ends = 0;
    form.endProgram = [&ends] { ++ends; };
    form.show();
    QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton);
    EXPECT_EQ(ends, 1);
}

} // namespace
