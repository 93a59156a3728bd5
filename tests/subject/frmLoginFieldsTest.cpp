// SPDX-License-Identifier: GPL-3.0-or-later
// The subject form's fields: each asked for in turn, text no field may hold refused and
// shown, accessible names, and the limit of each box.

#include "subject/ui/frmLogin.h"

#include "frmLoginFixture.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace {

using namespace login_fixture;

TEST(frmLogin, UntouchedFormAsksForSixFieldsInOrderAndProcessesNothing) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    MessageBoxRecorder boxes;
    confirm(form);

    ASSERT_EQ(boxes.boxes().size(), 6u);
    EXPECT_EQ(boxes.texts(),
              QStringList({"Inserire il Nome/Codice. Grazie!",
                           "Inserire il Cognome/Codice. Grazie!", "Inserire Età. Grazie!",
                           "Inserire il sesso. Grazie!", "Inserire lo Stato Civile. Grazie!",
                           "Inserire il Titolo di Studio. Grazie!"}));
    for (const ShownBox& box : boxes.boxes()) {
        EXPECT_EQ(box.title, "INFORMAZIONE NECESSARIA");
        EXPECT_EQ(box.icon, QMessageBox::Information);
    }
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(filesUnder(dir.path()).empty());
}

TEST(frmLogin, OnlyTheAgeMissingShowsExactlyItsMessage) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form);
    control<QLineEdit>(form, "txtEta").clear();
    MessageBoxRecorder boxes;
    confirm(form);

    EXPECT_EQ(boxes.texts(), QStringList({"Inserire Età. Grazie!"}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(filesUnder(dir.path()).empty());
}

TEST(frmLogin, EnterInTheNameBoxConfirms) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    MessageBoxRecorder boxes;
    QTest::keyClick(&control<QLineEdit>(form, "txtUserName"), Qt::Key_Return);
    EXPECT_EQ(boxes.boxes().size(), 6u);
}

// Pasted text can hold what a keyboard cannot type: it is refused, and the box shows it.
TEST(frmLogin, ControlAndFormatCharactersAreRefusedAndShownAsText) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form);
    control<QLineEdit>(form, "txtPassword").setText(QString::fromUtf8("GRP1\x1B]0;x\x07"));
    MessageBoxRecorder boxes;
    confirm(form);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "INFORMAZIONE NECESSARIA");
    EXPECT_TRUE(boxes.boxes()[0].text.contains("Cognome/Codice"));
    EXPECT_TRUE(boxes.boxes()[0].text.contains("\\x1B")) << boxes.boxes()[0].text.toStdString();
    EXPECT_FALSE(boxes.boxes()[0].text.contains(QChar(0x1B)));

    control<QLineEdit>(form, "txtPassword").setText(QStringLiteral("GRP1"));
    control<QLineEdit>(form, "txtEta")
        .setText(QString::fromUtf8("3\xE2\x80\xAE"
                                   "5"));
    confirm(form);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_TRUE(boxes.boxes()[1].text.contains("Età"));
    EXPECT_TRUE(boxes.boxes()[1].text.contains("\\u202E"));
    EXPECT_EQ(form.focusWidget(), &control<QLineEdit>(form, "txtEta"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(filesUnder(dir.path()).empty());
}

TEST(frmLogin, AfterTheMessagesTheFocusIsOnTheFieldToFix) {
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form);
    control<QLineEdit>(form, "txtEta").clear();
    {
        MessageBoxRecorder boxes;
        confirm(form);
    }
    EXPECT_EQ(form.focusWidget(), &control<QLineEdit>(form, "txtEta"));

    type(form, "txtPassword", QStringLiteral("a/b"));
    type(form, "txtEta", QStringLiteral("35"));
    {
        MessageBoxRecorder boxes;
        confirm(form);
    }
    EXPECT_EQ(form.focusWidget(), &control<QLineEdit>(form, "txtPassword"));
    EXPECT_EQ(control<QLineEdit>(form, "txtPassword").selectedText(), "a/b");
}

TEST(frmLogin, EveryControlHasAnAccessibleName) {
    Program program;
    frmLogin& form = program.shownForm();
    const QList<QWidget*> controls = form.findChildren<QWidget*>();
    int named = 0;
    for (QWidget* widget : controls) {
        if (!qobject_cast<QLineEdit*>(widget) && !qobject_cast<QPlainTextEdit*>(widget) &&
            !qobject_cast<QAbstractButton*>(widget) && !qobject_cast<QGroupBox*>(widget)) {
            continue;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << widget->objectName().toStdString();
        ++named;
    }
    EXPECT_EQ(named, 4 + 2 + 5 + 5 + 3 + 3); // the buttons: OK, Annulla, Cambia cartella
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&control<QLineEdit>(form, "txtEta"))
                  ->text(QAccessible::Name),
              "Età (Anni)");
}

// Each box of the form, its limit and the name the messages give it.
struct LimitedBox {
    const char* control;
    int limit;
    const char* label;
};
void PrintTo(const LimitedBox& box, std::ostream* os) {
    *os << box.control;
}

class FieldOverLimit : public testing::TestWithParam<LimitedBox> {};

// Text put into a box as a paste puts it, at the cursor.
void paste(QWidget& form, const LimitedBox& box, const QString& text) {
    if (auto* line = form.findChild<QLineEdit*>(QString::fromLatin1(box.control))) {
        line->insert(text);
    } else {
        control<QPlainTextEdit>(form, box.control).insertPlainText(text);
    }
}
QString boxText(QWidget& form, const LimitedBox& box) {
    if (auto* line = form.findChild<QLineEdit*>(QString::fromLatin1(box.control))) {
        return line->text();
    }
    return control<QPlainTextEdit>(form, box.control).toPlainText();
}

TEST_P(FieldOverLimit, IsCutWhereThePasteEndsAndTheOperatorIsTold) {
    const LimitedBox& box = GetParam();
    Program program;
    frmLogin& form = program.shownForm();
    paste(form, box, QStringLiteral("AB"));
    QTest::keyClick(form.findChild<QWidget*>(QString::fromLatin1(box.control)), Qt::Key_Left);
    MessageBoxRecorder boxes;
    // Lines of 80, as notes have them (one line of 100,000 takes long to lay out).
    QString pasted = QString(box.limit, QLatin1Char('x'));
    for (qsizetype at = 80; at < pasted.size(); at += 81) {
        pasted[at] = QLatin1Char('\n');
    }
    paste(form, box, pasted);

    EXPECT_EQ(boxText(form, box), "A" + pasted.left(box.limit - 2) + "B");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const QString limit = QLocale(QLocale::Italian).toString(box.limit);
    EXPECT_EQ(boxes.boxes()[0].text,
              QStringLiteral("Il campo %1 accetta al massimo %2 caratteri. Il testo li superava "
                             "ed è stato accorciato a %2 caratteri: controllare il campo prima "
                             "di premere «ELABORAZIONE DATI».")
                  .arg(QString::fromUtf8(box.label), limit));

    // Typing at the limit is refused the same way; a character is never split in half.
    QTest::keyClicks(form.findChild<QWidget*>(QString::fromLatin1(box.control)),
                     QStringLiteral("y"));
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxText(form, box).size(), box.limit);
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    paste(form, box, QStringLiteral("z") + emoji); // ends across the limit: both halves go
    EXPECT_FALSE(boxText(form, box).contains(emoji.at(0)));
    EXPECT_FALSE(boxText(form, box).contains(QLatin1Char('z')));
}

INSTANTIATE_TEST_SUITE_P(Boxes, FieldOverLimit,
                         testing::Values(LimitedBox{"txtUserName", 100, "Nome/Codice"},
                                         LimitedBox{"txtPassword", 100, "Cognome/Codice"},
                                         LimitedBox{"txtEta", 30, "Età"},
                                         LimitedBox{"TxtNote", 100000, "Note"}),
                         [](const testing::TestParamInfo<LimitedBox>& info) {
                             return std::string(info.param.control);
                         });

} // namespace
