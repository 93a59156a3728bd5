// SPDX-License-Identifier: GPL-3.0-or-later

// The administration window as it opens: the notice page, and each control found by
// the caption a screen reader announces.
#include "Form1Fixture.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace form1_fixture;

TEST(Form1Load, ShowsTheNoticePageWithBothQuestionsAndNothingChosen) {
    Session s;
    EXPECT_EQ(s.form->windowTitle(), "BrivanSELVO");
    EXPECT_EQ(s.text("Text1"), "Prema 'Avanti' per iniziare");
    EXPECT_EQ(s.text("TextCurrentItem"), " ");
    EXPECT_FALSE(s.shown("Label1"));
    EXPECT_FALSE(s.shown("CommSaveData"));
    EXPECT_TRUE(s.shown("LabelQScalaD"));
    EXPECT_TRUE(s.shown("Frame2"));
    EXPECT_EQ(s.selectedAgreement(), 0);
    EXPECT_EQ(s.selectedDistress(), 0);

    const QString notice = s.control<QPlainTextEdit>("TextDom")->toPlainText();
    EXPECT_TRUE(notice.startsWith("\n")) << "a line break comes before the text";
    EXPECT_FALSE(notice.contains(QChar(0xA7)));
    EXPECT_TRUE(notice.contains("\n\n")) << "paragraphs are separated by an empty line";

    const QStringList agreementLegend =
        s.control<QPlainTextEdit>("TextScala")->toPlainText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(agreementLegend.size(), 7);
    EXPECT_EQ(agreementLegend[2], "( 3 )  tendenzialmente in disaccordo");
    EXPECT_EQ(
        s.control<QPlainTextEdit>("TextScala2")->toPlainText().split('\n', Qt::SkipEmptyParts),
        QStringList({"( 1 )  No mai", "( 2 )  In qualche modo", "( 3 )  Sicuramente si"}));
}

// Each control is found by its name and by the caption a screen reader announces.
// What a screen reader (or a test driving the accessibility interface) sees: the object names
// of the controls it finds with that role and name.
QStringList accessibleControls(QAccessibleInterface* node, QAccessible::Role role,
                               const QString& name) {
    QStringList found;
    if (node == nullptr) {
        return found;
    }
    if (node->role() == role && node->text(QAccessible::Name) == name) {
        found << node->object()->objectName();
    }
    for (int i = 0; i < node->childCount(); ++i) {
        found << accessibleControls(node->child(i), role, name);
    }
    return found;
}

TEST(Form1Load, ControlsAreFoundByTheirItalianCaptions) {
    Session s;
    s.forward();
    s.key('6'); // every control on screen, the distress section included
    struct Expected {
        QAccessible::Role role;
        QString name;
        QStringList controls;
    };
    const std::vector<Expected> expected = {
        {QAccessible::StaticText, "DOMANDA:", {"Label1"}},
        {QAccessible::StaticText,
         "Relativamente a te stesso, quanto sei d'accordo con questa affermazione?",
         {"LabelQScala"}},
        {QAccessible::StaticText,
         "Questo aspetto ha mai causato a te  o ad altri qualche problema o è stato fonte di "
         "sofferenza?",
         {"LabelQScalaD"}},
        {QAccessible::Grouping, "RISPOSTA", {"Frame1", "Frame2"}},
        {QAccessible::RadioButton, "3", {"Option3", "OptionD3"}},
        {QAccessible::RadioButton, "7", {"Option7"}},
        {QAccessible::PushButton, "AVANTI", {"CommAvanti"}},
        {QAccessible::PushButton, "INDIETRO", {"CommIndietro"}},
        {QAccessible::PushButton, "Istruzioni", {"CommIstru"}},
        {QAccessible::PushButton, "Ss", {"cmdLoadData"}},
    };
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(s.form);
    for (const Expected& e : expected) {
        EXPECT_EQ(accessibleControls(window, e.role, e.name), e.controls) << e.name.toStdString();
    }
    for (const char* textBox :
         {"TextDom", "TextCurrentItem", "Text1", "TextScala", "TextD", "TextScala2"}) {
        EXPECT_FALSE(s.control<QWidget>(textBox)->accessibleName().isEmpty()) << textBox;
    }
    EXPECT_FALSE(s.control<QWidget>("TextItemValue")->isVisible());
}

} // namespace
