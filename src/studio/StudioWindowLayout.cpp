// SPDX-License-Identifier: GPL-3.0-or-later
// The Studio window's widgets and keys: what each part shows and which key reaches it.
#include "studio/StudioWindow.h"

#include "widgets/ElidedPathLabel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QUrl>

QWidget* StudioWindow::buildInputs() {
    auto* part = new QWidget(this);
    auto* row = new QHBoxLayout(part);
    row->setContentsMargins(0, 0, 0, 0);
    m_addFiles = new QPushButton(QStringLiteral("&Aggiungi file..."), part);
    m_addFolder = new QPushButton(QStringLiteral("Aggiungi &cartella..."), part);
    m_subfolders = new QCheckBox(QStringLiteral("Includi s&ottocartelle"), part);
    m_subfolders->setObjectName(QStringLiteral("subfolders"));
    m_remove = new QPushButton(QStringLiteral("&Rimuovi"), part);
    m_remove->setToolTip(QStringLiteral("Toglie dall'elenco i file selezionati (tasto Canc)"));
    m_count = new QLabel(part);
    for (QWidget* widget : {static_cast<QWidget*>(m_addFiles), static_cast<QWidget*>(m_addFolder),
                            static_cast<QWidget*>(m_subfolders), static_cast<QWidget*>(m_remove)}) {
        row->addWidget(widget);
    }
    row->addStretch(1);
    row->addWidget(m_count);
    connect(m_addFiles, &QPushButton::clicked, this, &StudioWindow::addFiles);
    connect(m_addFolder, &QPushButton::clicked, this, &StudioWindow::addFolder);
    connect(m_remove, &QPushButton::clicked, this, &StudioWindow::removeSelected);
    return part;
}

QWidget* StudioWindow::buildOutputs() {
    auto* group = new QGroupBox(QStringLiteral("File dei soggetti"), this);
    auto* grid = new QGridLayout(group);
    m_beside = new QRadioButton(QStringLiteral("Accanto a ogni file di &dati"), group);
    m_intoFolder = new QRadioButton(QStringLiteral("In &una cartella:"), group);
    m_folderLabel = new ElidedPathLabel(group);
    m_changeFolder = new QPushButton(QStringLiteral("Ca&mbia cartella..."), group);
    m_beside->setChecked(true);
    grid->addWidget(m_beside, 0, 0);
    grid->addWidget(m_intoFolder, 0, 1);
    grid->addWidget(m_folderLabel, 0, 2);
    grid->addWidget(m_changeFolder, 0, 3);
    grid->setColumnStretch(2, 1);
    connect(m_beside, &QRadioButton::toggled, this, &StudioWindow::optionsChanged);
    connect(m_changeFolder, &QPushButton::clicked, this, &StudioWindow::chooseFolder);
    return group;
}

QWidget* StudioWindow::buildDataset() {
    auto* group = new QGroupBox(QStringLiteral("Dataset dello studio"), this);
    auto* grid = new QGridLayout(group);
    m_dataset = new QCheckBox(QStringLiteral("Scrivi il da&taset, di nome:"), group);
    m_dataset->setChecked(true);
    m_dataset->setToolTip(QStringLiteral("NOME.csv, NOME.sav, NOME.sps e NOME_codebook.csv"));
    m_datasetName = new QLineEdit(QStringLiteral("studio"), group);
    m_datasetName->setAccessibleName(QStringLiteral("Nome del dataset"));
    m_datasetName->setMinimumWidth(
        m_datasetName->fontMetrics().horizontalAdvance(QLatin1Char('m')) * 10);
    m_datasetLabel = new ElidedPathLabel(group);
    m_pseudonyms =
        new QCheckBox(QStringLiteral("Senza nomi (&pseudonimi); chiave dei codici:"), group);
    m_pseudonyms->setObjectName(QStringLiteral("pseudonyms"));
    m_keyLabel = new ElidedPathLabel(group);
    m_changeKey = new QPushButton(QStringLiteral("Cambia c&hiave..."), group);
    grid->addWidget(m_dataset, 0, 0);
    grid->addWidget(m_datasetName, 0, 1);
    grid->addWidget(m_datasetLabel, 0, 2, 1, 2);
    grid->addWidget(m_pseudonyms, 1, 0);
    grid->addWidget(m_keyLabel, 1, 1, 1, 2);
    grid->addWidget(m_changeKey, 1, 3);
    grid->setColumnStretch(2, 1);
    connect(m_dataset, &QCheckBox::toggled, this, &StudioWindow::optionsChanged);
    connect(m_pseudonyms, &QCheckBox::toggled, this, &StudioWindow::optionsChanged);
    connect(m_datasetName, &QLineEdit::textChanged, this, &StudioWindow::optionsChanged);
    connect(m_changeKey, &QPushButton::clicked, this, &StudioWindow::chooseKey);
    return group;
}

QWidget* StudioWindow::buildRun() {
    auto* part = new QWidget(this);
    auto* grid = new QGridLayout(part);
    grid->setContentsMargins(0, 0, 0, 0);
    m_progress = new QProgressBar(part);
    m_progress->setFormat(QStringLiteral("%v di %m"));
    m_progress->setAccessibleName(QStringLiteral("Avanzamento"));
    m_timeLeft = new QLabel(part);
    m_status = new QLabel(part);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_start = new QPushButton(QStringLiteral("&Elabora"), part);
    m_start->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Annu&lla"), part);
    m_openFolder = new QPushButton(QStringLiteral("Apr&i cartella"), part);
    m_openDataset = new QPushButton(QStringLiteral("Apri data&set"), part);
    m_saveList = new QPushButton(QStringLiteral("Sal&va elenco..."), part);
    grid->addWidget(m_progress, 0, 0, 1, 4);
    grid->addWidget(m_timeLeft, 0, 4, 1, 2);
    grid->addWidget(m_status, 1, 0, 1, 6);
    grid->addWidget(m_start, 2, 0);
    grid->addWidget(m_cancel, 2, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(m_openFolder, 2, 3);
    grid->addWidget(m_openDataset, 2, 4);
    grid->addWidget(m_saveList, 2, 5);
    connect(m_start, &QPushButton::clicked, this, &StudioWindow::start);
    connect(m_cancel, &QPushButton::clicked, this, &StudioWindow::cancel);
    connect(m_openFolder, &QPushButton::clicked, this, &StudioWindow::openFolder);
    connect(m_openDataset, &QPushButton::clicked, this, &StudioWindow::openDataset);
    connect(m_saveList, &QPushButton::clicked, this, &StudioWindow::saveList);
    return part;
}

void StudioWindow::updateButtons() {
    const bool idle = !running();
    const bool any = !m_rows.rows().empty();
    for (QWidget* input : {static_cast<QWidget*>(m_addFiles), static_cast<QWidget*>(m_addFolder),
                           static_cast<QWidget*>(m_subfolders), static_cast<QWidget*>(m_beside),
                           static_cast<QWidget*>(m_intoFolder), static_cast<QWidget*>(m_dataset)}) {
        input->setEnabled(idle);
    }
    m_remove->setEnabled(idle && any);
    m_changeFolder->setEnabled(idle);
    m_datasetName->setEnabled(idle && m_dataset->isChecked());
    m_pseudonyms->setEnabled(idle && m_dataset->isChecked());
    m_changeKey->setEnabled(idle && m_dataset->isChecked() && m_pseudonyms->isChecked());
    m_keyLabel->setEnabled(m_dataset->isChecked() && m_pseudonyms->isChecked());
    m_start->setEnabled(idle && any && !m_planning && datasetProblem().isEmpty() &&
                        m_planProblem.isEmpty() &&
                        (m_beside->isChecked() || !m_outFolder.isEmpty()));
    m_cancel->setEnabled(!idle);
    m_openFolder->setEnabled(idle && any);
    m_openDataset->setEnabled(idle && m_datasetWritten);
    m_saveList->setEnabled(idle && any);
}

// Enter starts the run, unless a button has the focus: then it presses that button. Esc asks
// before cancelling a run, "No" the default, since a stray Esc must not stop a long run.
void StudioWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
            button != nullptr && button != m_start && button->isEnabled()) {
            button->click();
        } else {
            start();
        }
        return;
    }
    if (key == Qt::Key_Escape) {
        if (running() && askToCancel()) {
            cancel();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void StudioWindow::closeEvent(QCloseEvent* event) {
    if (!running()) {
        event->accept();
        return;
    }
    event->ignore();
    if (askToCancel()) {
        m_closeWhenDone = true;
        cancel();
    }
}

void StudioWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!running() && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void StudioWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    if (!paths.isEmpty()) {
        addPaths(paths);
        event->acceptProposedAction();
    }
}
