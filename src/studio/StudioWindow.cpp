// SPDX-License-Identifier: GPL-3.0-or-later
#include "studio/StudioWindow.h"

#include "datafiles/DatasetTable.h"
#include "studio/StudioInputs.h"
#include "studio/StudioList.h"
#include "widgets/ElidedPathLabel.h"
#include "widgets/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("BrivanSelvo - Studio");

// "circa 2 min" or "circa 40 s": what is left, from the pace so far.
QString timeLeftText(qint64 elapsedMs, std::size_t seen, std::size_t total) {
    if (seen == 0 || seen >= total) {
        return {};
    }
    const qint64 seconds =
        elapsedMs * static_cast<qint64>(total - seen) / static_cast<qint64>(seen) / 1000;
    return seconds >= 120 ? QStringLiteral("circa %1 min rimanenti").arg((seconds + 30) / 60)
                          : QStringLiteral("circa %1 s rimanenti").arg(seconds + 1);
}

StudioRow settledRow(StudioRow row, const selvo::InputOutcome& outcome) {
    using State = selvo::InputOutcome::State;
    row.detail = QString::fromStdString(outcome.reason);
    switch (outcome.state) {
    case State::Written:
        row.state = StudioRow::State::Written;
        break;
    case State::Failed:
        row.state = StudioRow::State::Failed;
        break;
    case State::Repeated:
        row.state = StudioRow::State::Repeated;
        break;
    case State::NotReached:
        row.state = StudioRow::State::NotReached;
        break;
    }
    return row;
}

} // namespace

StudioWindow::StudioWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(kTitle);
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildInputs());
    m_table = new QTableView(this);
    m_table->setModel(&m_rows);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->resizeSection(StudioRows::FileName, 200);
    m_table->horizontalHeader()->resizeSection(StudioRows::Folder, 180);
    m_table->setAccessibleName(QStringLiteral("File di dati"));
    // Del removes the selected inputs where the focus is on them, not in the name's field.
    auto* del = new QShortcut(QKeySequence::Delete, m_table, nullptr, nullptr, Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, &StudioWindow::removeSelected);
    layout->addWidget(m_table, 1);
    // One above the other: side by side they would not fit a laptop's screen at 150 %.
    layout->addWidget(buildOutputs());
    layout->addWidget(buildDataset());
    layout->addWidget(buildRun());

    m_newsTimer.setInterval(100);
    connect(&m_newsTimer, &QTimer::timeout, this, &StudioWindow::collectNews);
    // Several changes in a row (typing a name, adding files) make one plan.
    m_replanTimer.setSingleShot(true);
    m_replanTimer.setInterval(150);
    connect(&m_replanTimer, &QTimer::timeout, this, &StudioWindow::replan);
    connect(&m_worker, &StudioWorker::planned, this, &StudioWindow::planned);
    connect(&m_worker, &StudioWorker::finished, this, &StudioWindow::finished);
    const std::vector<QWidget*> order{
        m_addFiles,   m_addFolder,    m_subfolders, m_remove,      m_table,      m_beside,
        m_intoFolder, m_changeFolder, m_dataset,    m_datasetName, m_pseudonyms, m_changeKey,
        m_start,      m_cancel,       m_openFolder, m_openDataset, m_saveList};
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    // Room for the table, within the screen even at 150 % on a 1366 x 768 laptop.
    const QSize room = screen()->availableGeometry().size() - QSize(40, 80);
    resize(std::min(1100, room.width()), std::min(640, room.height()));
    m_table->setFocus();
    updateButtons();
}

void StudioWindow::addPaths(const QStringList& paths) {
    const StudioInputs inputs = DataFilesOf(paths, m_subfolders->isChecked());
    if (!inputs.fault.isEmpty()) {
        showMessage(this, QMessageBox::Warning, kTitle,
                    inputs.fault + QStringLiteral(" Nessun file è stato aggiunto."));
        return;
    }
    m_rows.append(inputs.files);
    m_status->setText(inputs.notes.join(QLatin1Char('\n')));
    optionsChanged();
}

void StudioWindow::setOutputFolder(const QString& folder) {
    m_outFolder = QDir::cleanPath(folder);
    m_folderLabel->setPath(QDir::toNativeSeparators(m_outFolder));
    m_intoFolder->setChecked(true);
    optionsChanged();
}

QString StudioWindow::summary() const {
    return m_status->text();
}

void StudioWindow::setProgressHookForTest(std::function<void(std::size_t)> hook) {
    m_worker.setProgressHookForTest(std::move(hook));
}

void StudioWindow::addFiles() {
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Aggiungi file di dati"), datasetFolder(),
        QStringLiteral("File di dati (*.csv *.CSV);;Tutti i file (*)"));
    if (!files.isEmpty()) {
        addPaths(files);
    }
}

void StudioWindow::addFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Aggiungi cartella"));
    if (!folder.isEmpty()) {
        addPaths({folder});
    }
}

void StudioWindow::removeSelected() {
    if (running()) {
        return;
    }
    std::vector<int> rows;
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    for (const QModelIndex& index : selected) {
        rows.push_back(index.row());
    }
    m_rows.remove(rows);
    optionsChanged();
}

void StudioWindow::chooseFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Cartella in cui scrivere i file"), m_outFolder);
    if (!folder.isEmpty()) {
        setOutputFolder(folder);
    }
}

void StudioWindow::chooseKey() {
    const QString key = QFileDialog::getSaveFileName(
        this, QStringLiteral("Chiave dei codici"), keyPath(),
        QStringLiteral("Chiave dei codici (*.csv)"), nullptr, QFileDialog::DontConfirmOverwrite);
    if (!key.isEmpty()) {
        m_chosenKey = QDir::cleanPath(key);
        optionsChanged();
    }
}

// The dataset goes into the output folder, or beside the first data file.
QString StudioWindow::datasetFolder() const {
    if (m_intoFolder->isChecked() && !m_outFolder.isEmpty()) {
        return m_outFolder;
    }
    return m_rows.rows().empty() ? QString() : QFileInfo(m_rows.rows().front().file).absolutePath();
}

// Outside the dataset's folder by default, in "chiavi" beside it: a dataset's folder is what
// gets zipped and sent, and the key must not go with it.
QString StudioWindow::keyPath() const {
    if (!m_chosenKey.isEmpty()) {
        return m_chosenKey;
    }
    const QString folder = datasetFolder();
    if (folder.isEmpty()) {
        return {};
    }
    const std::string name = selvo::DatasetKeyName(m_datasetName->text().toStdString());
    return QDir::cleanPath(folder + QStringLiteral("/../chiavi/") + QString::fromStdString(name));
}

QString StudioWindow::datasetProblem() const {
    if (!m_dataset->isChecked()) {
        return {};
    }
    if (const auto fault = selvo::DatasetNameFault(m_datasetName->text().toStdString())) {
        return QStringLiteral("Nome del dataset: ") + QString::fromStdString(*fault);
    }
    return {};
}

selvo::BatchOptions StudioWindow::options() const {
    selvo::BatchOptions options;
    for (const StudioRow& row : m_rows.rows()) {
        options.files.push_back(row.file.toStdString());
    }
    if (m_intoFolder->isChecked() && !m_outFolder.isEmpty()) {
        options.outDir = m_outFolder.toStdString();
    }
    if (m_dataset->isChecked()) {
        options.dataset = m_datasetName->text().toStdString();
        options.datasetDir = datasetFolder().toStdString();
        if (m_pseudonyms->isChecked()) {
            options.pseudonyms = true;
            options.keyFile = keyPath().toStdString();
        }
    }
    return options;
}

void StudioWindow::optionsChanged() {
    m_datasetLabel->setPath(QDir::toNativeSeparators(datasetFolder()));
    m_keyLabel->setPath(QDir::toNativeSeparators(keyPath()));
    m_count->setText(QStringLiteral("%1 file").arg(m_rows.rowCount()));
    m_datasetWritten = false;
    m_progress->reset();
    m_timeLeft->clear();
    m_planning = !m_rows.rows().empty();
    m_planProblem.clear();
    m_replanTimer.start();
    updateButtons();
}

void StudioWindow::replan() {
    const QString problem = datasetProblem();
    if (!problem.isEmpty() || m_rows.rows().empty()) {
        m_planning = false;
        m_status->setText(problem);
        updateButtons();
        return;
    }
    selvo::BatchOptions planned = options();
    // The key's folder is made by the run: until then the key is planned beside the dataset.
    if (planned.keyFile && !QFileInfo(keyPath()).absoluteDir().exists()) {
        planned.keyFile.reset();
    }
    m_worker.plan(planned);
}

void StudioWindow::planned(const std::vector<StudioRow>& rows, const QString& problem) {
    if (running() || m_replanTimer.isActive()) {
        return; // stale: another plan follows
    }
    // A plan that could not read the inputs at all (an output folder that cannot be made)
    // leaves the rows as they are and says why.
    if (rows.size() == m_rows.rows().size()) {
        m_rows.replaceAll(rows);
    }
    m_planning = false;
    m_planProblem = problem;
    const auto refused = std::count_if(rows.begin(), rows.end(), [](const StudioRow& row) {
        return row.state == StudioRow::State::Refused;
    });
    QString said = problem;
    if (said.isEmpty()) {
        said = refused == 0 ? QStringLiteral("%1 file pronti da elaborare.").arg(rows.size())
                            : QStringLiteral("%1 file su %2 non saranno elaborati: il motivo è "
                                             "nella colonna Stato.")
                                  .arg(refused)
                                  .arg(rows.size());
    }
    m_status->setText(said);
    updateButtons();
}

void StudioWindow::start() {
    if (running() || m_planning || m_rows.rows().empty() || !datasetProblem().isEmpty() ||
        !m_planProblem.isEmpty()) {
        return;
    }
    m_datasetWritten = false;
    m_progress->setRange(0, static_cast<int>(m_rows.rows().size()));
    m_progress->setValue(0);
    m_status->setText(QStringLiteral("Elaborazione in corso..."));
    m_runLines.clear();
    m_clock.start();
    m_worker.run(options());
    m_newsTimer.start();
    updateButtons();
}

void StudioWindow::cancel() {
    if (running()) {
        m_worker.requestStop();
        m_status->setText(
            QStringLiteral("Annullamento: si completano i soggetti in lavorazione..."));
        m_cancel->setEnabled(false);
    }
}

bool StudioWindow::askToCancel() {
    return askYesNo(this, QMessageBox::Question, kTitle,
                    QStringLiteral("Annullare l'elaborazione?\n\nI soggetti già in lavorazione "
                                   "saranno completati e scritti; gli altri non saranno "
                                   "elaborati, e il dataset e la chiave non saranno scritti."),
                    false);
}

void StudioWindow::collectNews() {
    StudioNews news = m_worker.takeNews();
    std::vector<std::pair<int, StudioRow>> changed;
    changed.reserve(news.settled.size());
    for (const auto& settled : news.settled) {
        const int row = static_cast<int>(settled.first);
        if (row < m_rows.rowCount()) {
            changed.emplace_back(row, settledRow(m_rows.rows()[settled.first], settled.second));
        }
    }
    std::sort(changed.begin(), changed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    m_rows.update(changed);
    if (news.total > 0) {
        m_progress->setRange(0, static_cast<int>(news.total));
        m_progress->setValue(static_cast<int>(news.seen));
        m_timeLeft->setText(timeLeftText(m_clock.elapsed(), news.seen, news.total));
    }
    if (!news.lines.isEmpty()) {
        m_runLines << news.lines;
        m_status->setText(m_runLines.join(QLatin1Char('\n')));
    }
}

void StudioWindow::finished(const StudioOutcome& outcome) {
    m_newsTimer.stop();
    collectNews();
    m_timeLeft->clear();
    if (outcome.wroteNothing && outcome.interrupted) {
        // Stopped before the first subject: none of them was reached.
        std::vector<std::pair<int, StudioRow>> untouched;
        for (int row = 0; row < m_rows.rowCount(); ++row) {
            untouched.emplace_back(row,
                                   settledRow(m_rows.rows()[static_cast<std::size_t>(row)], {}));
        }
        m_rows.update(untouched);
    }
    m_datasetWritten = m_dataset->isChecked() && !outcome.interrupted && !outcome.wroteNothing &&
                       QFileInfo::exists(datasetFolder() + QLatin1Char('/') +
                                         m_datasetName->text() + QStringLiteral(".csv"));
    // What went wrong outside the subjects (the dataset's failure), then selvo-batch's line.
    m_runLines << outcome.summary.left(1).toUpper() + outcome.summary.mid(1);
    m_status->setText(m_runLines.join(QLatin1Char('\n')));
    updateButtons();
    if (m_closeWhenDone) {
        close();
    }
}

void StudioWindow::openFolder() {
    const QString folder =
        m_intoFolder->isChecked() && !m_outFolder.isEmpty() ? m_outFolder : datasetFolder();
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void StudioWindow::openDataset() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(datasetFolder() + QLatin1Char('/') +
                                                  m_datasetName->text() + QStringLiteral(".csv")));
}

void StudioWindow::saveList() {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Salva elenco"),
                                                datasetFolder() + QStringLiteral("/elenco.csv"),
                                                QStringLiteral("Testo CSV (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
    }
    if (const auto why =
            SaveStudioList(QDir::toNativeSeparators(path).toStdString(), m_rows.rows())) {
        showMessage(this, QMessageBox::Warning, kTitle,
                    QString::fromStdString(*why) +
                        QStringLiteral(" L'elenco non è stato salvato: scegliere un'altra "
                                       "cartella o un altro nome."));
    }
}
