// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The libraries viewer's one window: one instance of each component kind the toolkit provides,
// so that opening it shows whether they are all installed and load.
#include <QIcon>
#include <QWidget>
#include <functional>

class QCustomPlot;
class QFileDialog;
class QLabel;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QTextEdit;
class QToolBar;

namespace kalvexlib {

class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1();

    // Ends the program at once. Replaceable so a test can observe it.
    std::function<void()> endProgram;

    // The icon shown in Picture1, with its 16 x 16 and 32 x 32 images.
    const QIcon& pictureIcon() const { return m_pictureIcon; }

private:
    void Command1_Click();

    QIcon m_pictureIcon;
    QStatusBar* StatusBar1;
    QToolBar* Toolbar1;
    QPushButton* Command1;
    QTableWidget* DBGrid1;
    QCustomPlot* MSChart1;
    QFileDialog* CommonDialog1;
    QTextEdit* RichTextBox1;
    QLabel* Picture1;
};

} // namespace kalvexlib
