// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/ui/frmLogin.h"

#include "subject/ui/LengthLimit.h"
#include "widgets/ElidedPathLabel.h"
#include "widgets/MessageBoxes.h"
#include "widgets/WidgetText.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const auto& kMaritalCaptions = selvo::questionnaire::kMarital.formCaptions;
const auto& kEducationCaptions = selvo::questionnaire::kEducation.formCaptions;

const QColor kBackground(255, 255, 192);

QFont arial(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A label's caption without its mnemonic mark and trailing colon, as a screen reader says it.
QString spokenName(const QString& caption) {
    QString name = caption;
    name.remove(QLatin1Char('&'));
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char(' '))) {
        name.chop(1);
    }
    return name;
}

// The notes box shows lines ended by LF; the record and the files keep Windows line ends.
QString notesForDisplay(const std::string& notes) {
    return qtext(notes)
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// The option whose code the field reads as; nothing for "0", an unknown code or non-numbers.
template <std::size_t N>
QRadioButton* optionFor(const std::string& field, const std::array<QRadioButton*, N>& options) {
    const std::optional<int> code = selvo::CodedFieldNumber(field);
    if (!code || *code < 1 || *code > static_cast<int>(N)) {
        return nullptr;
    }
    return options[static_cast<std::size_t>(*code - 1)];
}

// Selects `chosen` in its group, or clears the group when it is null. Buttons of one frame
// exclude each other automatically, which would keep one selected: lifted while clearing.
template <std::size_t N>
void showOnly(const std::array<QRadioButton*, N>& options, QRadioButton* chosen) {
    for (QRadioButton* option : options) {
        option->setAutoExclusive(false);
        option->setChecked(option == chosen);
        option->setAutoExclusive(true);
    }
}

// "1".."N" for the selected option of a group, "" when none is selected.
template <std::size_t N> std::string selectedCode(const std::array<QRadioButton*, N>& options) {
    for (std::size_t i = 0; i < N; ++i) {
        if (options[i]->isChecked()) {
            return std::to_string(i + 1);
        }
    }
    return {};
}

} // namespace

frmLogin::frmLogin() {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Dati"));
    // A fixed-size dialog: a close button, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    buildControls();
    buildLayout();
    styleControls();
    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::confirmed);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
    connect(cmdCartella, &QPushButton::clicked, this, &frmLogin::folderChangeRequested);
}

void frmLogin::buildControls() {
    const auto label = [this](int index, const QString& caption) {
        auto* created = new QLabel(caption, this);
        created->setObjectName(QStringLiteral("lblLabels_%1").arg(index));
        lblLabels[static_cast<std::size_t>(index)] = created;
        return created;
    };
    const auto textBox = [this](const char* name, QLabel* caption) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        caption->setBuddy(box);
        box->setAccessibleName(spokenName(caption->text()));
        return box;
    };
    const auto option = [](QGroupBox* frame, const QString& name, std::string_view caption) {
        auto* button = new QRadioButton(
            QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), frame);
        button->setObjectName(name);
        return button;
    };
    const auto frame = [this](const char* name, const char* title) {
        auto* group = new QGroupBox(QString::fromUtf8(title), this);
        group->setObjectName(QLatin1String(name));
        group->setAccessibleName(QString::fromUtf8(title));
        return group;
    };

    // Created in the order the operator fills them in, which is also the Tab order.
    txtUserName = textBox("txtUserName", label(0, QStringLiteral("&Nome :")));
    label(4, QStringLiteral("[Codice]"));
    txtPassword = textBox("txtPassword", label(1, QStringLiteral("&Cognome:")));
    label(5, QStringLiteral("[Codice]"));
    txtEta = textBox("txtEta", label(2, QStringLiteral("Età (Anni):")));

    FrameSesso = frame("FrameSesso", "SESSO");
    Option1_SMale = option(FrameSesso, QStringLiteral("Option1_SMale"),
                           selvo::questionnaire::kSex.formCaptions[0]);
    Option1_SFemale = option(FrameSesso, QStringLiteral("Option1_SFemale"),
                             selvo::questionnaire::kSex.formCaptions[1]);

    QLabel* notesLabel = label(3, QStringLiteral("Note:"));
    TxtNote = new QPlainTextEdit(this);
    TxtNote->setObjectName(QStringLiteral("TxtNote"));
    TxtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TxtNote->setTabChangesFocus(true);
    notesLabel->setBuddy(TxtNote);
    TxtNote->setAccessibleName(spokenName(notesLabel->text()));

    FrameStatoCivile = frame("FrameStatoCivile", "STATO CIVILE");
    for (std::size_t i = 0; i < Option1_ST.size(); ++i) {
        Option1_ST[i] = option(FrameStatoCivile, QStringLiteral("Option1_ST%1").arg(i + 1),
                               kMaritalCaptions[i]);
    }
    FrameStudio = frame("FrameStudio", "TITOLO DI STUDIO");
    for (std::size_t i = 0; i < Option1_stud.size(); ++i) {
        Option1_stud[i] =
            option(FrameStudio, QStringLiteral("Option1_stud%1").arg(i + 1), kEducationCaptions[i]);
    }

    // A field's limit keeps every data file the form writes one that reads back.
    const auto limit = [this](auto* box, const selvo::FieldLimit& field) {
        keepWithinLimit(*box, static_cast<qsizetype>(field.units), [this, field] {
            showInformation(qtext(selvo::FieldShortenedMessage(field)));
        });
    };
    limit(txtUserName, selvo::kNameLimit);
    limit(txtPassword, selvo::kSurnameLimit);
    limit(txtEta, selvo::kAgeLimit);
    limit(TxtNote, selvo::kNotesLimit);

    // Where the files go, before the operator confirms: a clinic keeps them in a folder of its
    // own, not wherever the program happened to start.
    lblCartella = new QLabel(QStringLiteral("I file saranno scritti in:"), this);
    lblCartella->setObjectName(QStringLiteral("lblCartella"));
    lblPercorso = new ElidedPathLabel(this);
    lblPercorso->setObjectName(QStringLiteral("lblPercorso"));
    lblPercorso->setAccessibleName(lblCartella->text());
    lblNotaCartella = new QLabel(this);
    lblNotaCartella->setObjectName(QStringLiteral("lblNotaCartella"));
    lblNotaCartella->setWordWrap(true);
    lblNotaCartella->hide();
    cmdCartella = new QPushButton(QStringLiteral("Cambia cartella..."), this);
    cmdCartella->setObjectName(QStringLiteral("cmdCartella"));
    cmdCartella->setAutoDefault(false);

    cmdOK = new QPushButton(QStringLiteral("ELABORAZIONE DATI"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Annulla"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Left auto-default: while "Annulla" has the focus, Enter presses it, not the processing
    // button, as on any dialog.
}

void frmLogin::buildLayout() {
    auto* identity = new QGridLayout;
    for (int row = 0; row < 3; ++row) {
        identity->addWidget(lblLabels[static_cast<std::size_t>(row)], row, 0);
    }
    identity->addWidget(txtUserName, 0, 1);
    identity->addWidget(lblLabels[4], 0, 2);
    identity->addWidget(txtPassword, 1, 1);
    identity->addWidget(lblLabels[5], 1, 2);
    identity->addWidget(txtEta, 2, 1);
    txtUserName->setMinimumWidth(220);

    auto* sex = new QVBoxLayout(FrameSesso);
    sex->addWidget(Option1_SMale);
    sex->addWidget(Option1_SFemale);

    auto* top = new QHBoxLayout;
    top->addLayout(identity);
    top->addSpacing(16);
    top->addWidget(FrameSesso, 0, Qt::AlignTop);

    auto* marital = new QVBoxLayout(FrameStatoCivile);
    for (QRadioButton* button : Option1_ST) {
        marital->addWidget(button);
    }
    auto* education = new QVBoxLayout(FrameStudio);
    for (QRadioButton* button : Option1_stud) {
        education->addWidget(button);
    }

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdOK);
    cmdOK->setMinimumSize(190, 56);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(FrameStatoCivile);
    bottom->addWidget(FrameStudio);
    bottom->addSpacing(16);
    bottom->addLayout(buttons);

    auto* folder = new QHBoxLayout;
    folder->addWidget(lblCartella);
    folder->addWidget(lblPercorso, 1);
    folder->addWidget(cmdCartella);

    TxtNote->setFixedHeight(90);
    auto* form = new QVBoxLayout(this);
    form->addLayout(top);
    form->addWidget(lblLabels[3]);
    form->addWidget(TxtNote);
    form->addLayout(bottom);
    form->addLayout(folder);
    form->addWidget(lblNotaCartella);
    form->setContentsMargins(14, 14, 14, 14);
    form->setSpacing(8);
    form->setSizeConstraint(QLayout::SetFixedSize);
}

void frmLogin::styleControls() {
    // The light yellow shows through labels, frames and option buttons, which paint no
    // background of their own.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);
    setAutoFillBackground(true);

    const QFont captions = arial(9, true);
    for (QLabel* label : lblLabels) {
        label->setFont(captions);
    }
    for (QGroupBox* frame : {FrameSesso, FrameStatoCivile, FrameStudio}) {
        frame->setFont(captions);
    }
    lblCartella->setFont(captions);
    QPalette warning = lblNotaCartella->palette();
    warning.setColor(QPalette::WindowText, QColor(160, 0, 0));
    lblNotaCartella->setPalette(warning);
    cmdOK->setFont(arial(9.75, true));
    TxtNote->setFont(arial(12, false));
}

void frmLogin::showSubjectRecord(const selvo::SubjectEntry& record) {
    txtUserName->setText(qtext(record.name));
    txtPassword->setText(qtext(record.surname));
    txtEta->setText(qtext(record.age));
    TxtNote->setPlainText(notesForDisplay(record.notes));
    selectCodedOptions(record);
}

// Each group shows exactly the record's code: an option left selected from the previous
// subject would otherwise be written into this subject's files on confirmation.
void frmLogin::selectCodedOptions(const selvo::SubjectEntry& record) {
    const std::array<QRadioButton*, 2> sex{Option1_SMale, Option1_SFemale};
    showOnly(sex, optionFor(record.sex, sex));
    showOnly(Option1_ST, optionFor(record.marital, Option1_ST));
    showOnly(Option1_stud, optionFor(record.education, Option1_stud));
}

selvo::SubjectEntry frmLogin::entry() const {
    selvo::SubjectEntry typed;
    typed.name = txtUserName->text().toStdString();
    typed.surname = txtPassword->text().toStdString();
    typed.age = txtEta->text().toStdString();
    typed.notes = selvo::NotesWithWindowsLineEnds(TxtNote->toPlainText().toStdString());
    typed.sex = selectedCode(std::array<QRadioButton*, 2>{Option1_SMale, Option1_SFemale});
    typed.marital = selectedCode(Option1_ST);
    typed.education = selectedCode(Option1_stud);
    return typed;
}

void frmLogin::showOutputFolder(const QString& folder, const QString& note) {
    lblPercorso->setPath(QDir::toNativeSeparators(folder));
    lblNotaCartella->setText(note);
    lblNotaCartella->setVisible(!note.isEmpty());
}

QString frmLogin::outputFolder() const {
    return lblPercorso->path();
}

void frmLogin::showInformation(const QString& text) {
    showMessage(this, QMessageBox::Information, qtext(selvo::kSubjectInfoTitle), text);
}

void frmLogin::focusUnsafeField(selvo::UnsafeName::Field which) {
    QLineEdit* field = which == selvo::UnsafeName::Name      ? txtUserName
                       : which == selvo::UnsafeName::Surname ? txtPassword
                                                             : txtEta;
    field->setFocus();
    field->selectAll();
}

void frmLogin::focusFirstMissingField() {
    for (QLineEdit* box : {txtUserName, txtPassword, txtEta}) {
        if (box->text().isEmpty()) {
            box->setFocus();
            return;
        }
    }
    const auto noneChecked = [](const auto& options) {
        return std::none_of(options.begin(), options.end(),
                            [](const QRadioButton* option) { return option->isChecked(); });
    };
    const std::array<QRadioButton*, 2> sex{Option1_SMale, Option1_SFemale};
    if (noneChecked(sex)) {
        Option1_SMale->setFocus();
    } else if (noneChecked(Option1_ST)) {
        Option1_ST[0]->setFocus();
    } else if (noneChecked(Option1_stud)) {
        Option1_stud[0]->setFocus();
    }
}

void frmLogin::cmdCancel_Click() {
    reject();
}

// QDialog::exec() destroys a dialog marked WA_DeleteOnClose when it returns, and done()
// closes the window, which destroys it too; the mark is lifted meanwhile so that only the
// close button unloads the form.
int frmLogin::exec() {
    const bool deleteOnClose = testAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_closedByButton = false;
    const int result = QDialog::exec();
    setAttribute(Qt::WA_DeleteOnClose, deleteOnClose);
    if (m_closedByButton && deleteOnClose) {
        deleteLater();
    }
    return result;
}

void frmLogin::done(int result) {
    const bool deleteOnClose = testAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_DeleteOnClose, false);
    QDialog::done(result);
    setAttribute(Qt::WA_DeleteOnClose, deleteOnClose);
}

void frmLogin::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    m_closedByButton = event->isAccepted();
}
