#include "shell/ui/frmMain.h"

#include "administration/ui/Form1.h"
#include "administration/ui/RecoveryKeeper.h"
#include "datafiles/ui/Reload.h"
#include "shell/ui/MessageBoxes.h"
#include "shell/ui/Shell.h"
#include "shell/ui/ShellTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setMinimumSize(260, 48);
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() + 1);
    font.setBold(true);
    button->setFont(font);
    return button;
}

void notYetAvailable(QWidget* owner) {
    showMessage(owner, QMessageBox::Information, QStringLiteral("Funzione non disponibile"),
                QStringLiteral("Questa funzione non \u00e8 ancora disponibile in questa "
                               "versione del programma."));
}

} // namespace

frmMain::frmMain(Shell& shell) : m_shell(shell) {
    setObjectName("frmMain");
    // Load handler: caption and references.
    setWindowTitle(QString::fromStdString(m_shell.state().ProgramTitle));

    cmdMainSOMM = makeButton(this, "cmdMainSOMM", "SOMMINISTRAZIONE TEST");
    cmdMainSS = makeButton(this, "cmdMainSS", "ELABORAZIONE DATI");
    cmdMainQUIT = makeButton(this, "cmdMainQUIT", "Quit");

    lblCompanyProduct = new QLabel(QString::fromUtf8(selvo::kCompanyProduct), this);
    lblCompanyProduct->setObjectName("lblCompanyProduct");
    lblCompanyProduct->setAccessibleName(lblCompanyProduct->text());
    lblCompanyProduct->setStyleSheet("color: #555555;");

    TextRef = new QPlainTextEdit(this);
    TextRef->setObjectName("TextRef");
    TextRef->setAccessibleName("References");
    TextRef->setReadOnly(true);
    TextRef->setPlainText(screenText(selvo::referencesText()));
    TextRef->document()->setDocumentMargin(10);
    QFont textFont = TextRef->font();
    textFont.setPointSizeF(textFont.pointSizeF() + 1);
    TextRef->setFont(textFont);

    auto* commands = new QVBoxLayout;
    commands->setSpacing(12);
    commands->addWidget(cmdMainSOMM);
    commands->addWidget(cmdMainSS);
    commands->addStretch();
    commands->addWidget(cmdMainQUIT);
    auto* body = new QHBoxLayout;
    body->setSpacing(18);
    body->addWidget(TextRef, 1);
    body->addLayout(commands);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(body, 1);
    layout->addWidget(lblCompanyProduct, 0, Qt::AlignRight);
    resize(700, 380);
    Shell::centreOnScreen(*this);

    connect(cmdMainSOMM, &QPushButton::clicked, this, &frmMain::cmdMainSOMM_Click);
    connect(cmdMainSS, &QPushButton::clicked, this, &frmMain::cmdMainSS_Click);
    connect(cmdMainQUIT, &QPushButton::clicked, this, &frmMain::cmdMainQUIT_Click);
}

void frmMain::cmdMainSOMM_Click() {
    // Once a set has been processed, the next administration is another subject's.
    if (m_shell.state().SetProcessed) {
        m_shell.beginNewSubject();
    } else if (!m_shell.isForm1Loaded() && m_shell.recovery().offerOnReopen()) {
        return; // the questionnaire is on screen with the answers kept
    }
    // Shown modeless and brought to the front, also when it was already open behind the menu.
    m_shell.showWindow(m_shell.form1());
}

void frmMain::cmdMainSS_Click() {
    selvo::ProgramState& state = m_shell.state();
    if (!m_shell.showOpenDialog) {
        state.SelectedFile = "";
        notYetAvailable(this);
        return;
    }
    if (!MayReplaceAnswersInHand(m_shell, this)) {
        return;
    }
    state.SelectedFile = m_shell.showOpenDialog(this);
    // A cancelled dialog ends the command with nothing changed.
    if (!state.SelectedFile.empty()) {
        reloadSelectedFile();
    }
}

void frmMain::reloadSelectedFile() {
    ReloadDataFile(m_shell, m_shell.state().SelectedFile);
}

void frmMain::cmdMainQUIT_Click() {
    // Ends at once, whatever else is open: no prompt, nothing saved.
    Shell& shell = m_shell;
    shell.unloadMainMenu();
    shell.endProgram();
}
