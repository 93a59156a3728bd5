// SPDX-License-Identifier: GPL-3.0-or-later

#include "profile/ui/ResultsWindow.h"

#include "datafiles/ui/OpenDialog.h"
#include "platform/CommitFileSet.h"
#include "platform/Paths.h"
#include "profile/ui/ChartTarget.h"
#include "profile/ui/ProfileChart.h"
#include "questionnaire/SubjectFiles.h"
#include "widgets/MessageBoxes.h"
#include "widgets/WidgetText.h"
#include "widgets/WindowPlacement.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

namespace q = selvo::questionnaire;

const QString kSaveTitle = QStringLiteral("Salva grafico");
const QString kPngFilter = QStringLiteral("Immagine PNG (*.png)");
const QString kPdfFilter = QStringLiteral("Documento PDF (*.pdf)");

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString thresholdCaption(q::Algorithm algorithm) {
    return text(q::kThresholds[algorithm].caption);
}

QTableWidget* newTable(QWidget* parent, const QString& objectName, const QString& name,
                       const QStringList& headers, int rows) {
    auto* table = new QTableWidget(rows, static_cast<int>(headers.size()), parent);
    table->setObjectName(objectName);
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->setVisible(false);
    // Compact rows: the twelve disorders fit in sight under the chart.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return table;
}

void setCell(QTableWidget& table, int row, int column, const QString& value,
             Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter) {
    auto* item = new QTableWidgetItem(value);
    item->setTextAlignment(alignment);
    table.setItem(row, column, item);
}

// The system's own dialog texts are Italian where Qt's translation is installed; the captions
// and filters are ours.
std::optional<ChartFileChoice> askWithDialog(QWidget* owner, const QString& suggested) {
    QFileDialog dialog(owner, kSaveTitle);
    dialog.setObjectName(QStringLiteral("SaveChartDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The window asks, once it knows that the file there may be replaced at all.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters({kPngFilter, kPdfFilter});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         dialog.setDefaultSuffix(filter == kPdfFilter ? QStringLiteral("pdf")
                                                                      : QStringLiteral("png"));
                     });
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Salva"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Annulla"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nome del file:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo di file:"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Cartella:"));
    dialog.selectFile(suggested);
    dialog.resize(820, 500);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().size() != 1) {
        return std::nullopt;
    }
    const bool pdf = dialog.selectedNameFilter() == kPdfFilter;
    return ChartFileChoice{dialog.selectedFiles().front(),
                           pdf ? ChartFormat::Pdf : ChartFormat::Png};
}

// The height that shows every row of the table.
int heightOfAllRows(const QTableWidget& table) {
    int height = table.horizontalHeader()->sizeHint().height() + 2 * table.frameWidth();
    for (int row = 0; row < table.rowCount(); ++row) {
        height += table.rowHeight(row);
    }
    return height;
}

} // namespace

ResultsWindow::ResultsWindow(RunResults results, QWidget* parent)
    : QDialog(parent), m_results(std::move(results)),
      m_profile(selvo::ProfileOf(m_results.scores)) {
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    askChartFile = askWithDialog;
    setObjectName(QStringLiteral("ResultsWindow"));
    setWindowTitle(productName() + QStringLiteral(" - Profilo"));
    setAccessibleName(windowTitle());
    buildControls();
    buildLayout();
    fillDisorderTable();
    fillClusterTable();
    fitTables();
    fitToScreen();
    centreOnScreen(*this);

    connect(cmdReport, &QPushButton::clicked, this, &ResultsWindow::openReport);
    connect(cmdFolder, &QPushButton::clicked, this, &ResultsWindow::openFolder);
    connect(cmdSaveChart, &QPushButton::clicked, this, &ResultsWindow::saveChartAs);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    // "Chiudi" is the default: Enter and the keypad's Enter close the window wherever the focus
    // is, as Esc does. The other buttons answer the space bar and a click.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QDialog::accept);
    }
}

void ResultsWindow::buildControls() {
    const selvo::SubjectRecord& subject = m_results.subject;
    lblSubject = new QLabel(this);
    lblSubject->setObjectName(QStringLiteral("lblSubject"));
    lblSubject->setTextFormat(Qt::PlainText); // a name is never read as markup
    lblSubject->setWordWrap(true);
    lblSubject->setText(QStringLiteral("Soggetto: %1 %2    Età: %3    Elaborazione del %4")
                            .arg(qtext(subject.surname), qtext(subject.name), qtext(subject.age),
                                 qtext(m_results.dateTime)));
    lblSubject->setAccessibleName(lblSubject->text());
    QFont bold = lblSubject->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() + 1);
    lblSubject->setFont(bold);

    // A read-only box rather than a label: a long folder wraps anywhere and can be copied.
    txtFiles = new QPlainTextEdit(this);
    txtFiles->setObjectName(QStringLiteral("txtFiles"));
    txtFiles->setAccessibleName(QStringLiteral("File scritti"));
    txtFiles->setReadOnly(true);
    txtFiles->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtFiles->setPlainText(qtext(m_results.writtenFiles));
    // At least the folder and the three files; it grows with the room beside the chart.
    txtFiles->setMinimumHeight(txtFiles->fontMetrics().lineSpacing() * 7 + 14);

    chartProfile = CreateProfileChart(m_profile, this);
    chartProfile->setMinimumSize(560, 320);

    tblDisorders = newTable(
        this, QStringLiteral("tblDisorders"), QStringLiteral("Punteggi per disturbo"),
        {QStringLiteral("Disturbo"), QStringLiteral("Punteggio"), QStringLiteral("Percentuale"),
         QStringLiteral("Diagnosi ") + thresholdCaption(q::X4),
         QStringLiteral("Diagnosi ") + thresholdCaption(q::X5)},
        static_cast<int>(m_profile.bars.size()));
    tblClusters =
        newTable(this, QStringLiteral("tblClusters"), QStringLiteral("Totali dei cluster"),
                 {QStringLiteral("Cluster"), QStringLiteral("Punteggio"), QStringLiteral("%"),
                  QStringLiteral("Diagnosi\n") + thresholdCaption(q::X4),
                  QStringLiteral("Diagnosi\n") + thresholdCaption(q::X5)},
                 static_cast<int>(m_profile.clusters.size()));

    lblSaved = new QLabel(this);
    lblSaved->setObjectName(QStringLiteral("lblSaved"));
    lblSaved->setTextFormat(Qt::PlainText);
    lblSaved->setWordWrap(true);
    lblSaved->setAccessibleName(QStringLiteral("Esito del salvataggio"));

    const auto button = [this](const QString& caption, const char* name) {
        auto* created = new QPushButton(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setAccessibleName(caption);
        created->setMinimumSize(140, 34);
        created->setAutoDefault(false);
        return created;
    };
    cmdReport = button(QStringLiteral("Apri referto"), "cmdReport");
    cmdFolder = button(QStringLiteral("Apri cartella"), "cmdFolder");
    cmdSaveChart = button(QStringLiteral("Salva grafico..."), "cmdSaveChart");
    cmdClose = button(QStringLiteral("Chiudi"), "cmdClose");
    cmdClose->setDefault(true);
}

void ResultsWindow::buildLayout() {
    const auto titled = [this](const QString& title, QWidget* shown) {
        auto* label = new QLabel(title, this);
        label->setBuddy(shown);
        return label;
    };
    // Beside the chart: what was written, then the clusters' totals.
    auto* side = new QVBoxLayout;
    side->addWidget(titled(QStringLiteral("File scritti"), txtFiles));
    side->addWidget(txtFiles, 1);
    side->addSpacing(6);
    side->addWidget(titled(QStringLiteral("Totali dei cluster"), tblClusters));
    side->addWidget(tblClusters);
    auto* sideBox = new QWidget(this);
    sideBox->setLayout(side);
    sideBox->setFixedWidth(470);
    side->setContentsMargins(0, 0, 0, 0);

    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(chartProfile, 1);
    chartRow->addWidget(sideBox);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* each : {cmdReport, cmdFolder, cmdSaveChart}) {
        buttons->addWidget(each);
    }
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->addWidget(lblSubject);
    layout->addLayout(chartRow, 2);
    layout->addWidget(titled(QStringLiteral("Punteggi per disturbo"), tblDisorders));
    layout->addWidget(tblDisorders, 3);
    layout->addWidget(lblSaved);
    layout->addLayout(buttons);
}

void ResultsWindow::fillDisorderTable() {
    int row = 0;
    for (const selvo::ProfileBar& bar : m_profile.bars) {
        setCell(*tblDisorders, row, 0,
                QStringLiteral("%1 - %2").arg(text(bar.shortName), text(bar.screenName)),
                Qt::AlignLeft | Qt::AlignVCenter);
        setCell(*tblDisorders, row, 1, qtext(selvo::TotalText(bar.score)));
        setCell(*tblDisorders, row, 2, qtext(selvo::PercentageText(bar.score)));
        for (const q::Algorithm algorithm : {q::X4, q::X5}) {
            setCell(*tblDisorders, row, 3 + algorithm,
                    qtext(selvo::DiagnosisText(bar.diagnosed[algorithm])), Qt::AlignCenter);
            if (bar.diagnosed[algorithm]) {
                QFont bold = tblDisorders->font();
                bold.setBold(true);
                tblDisorders->item(row, 3 + algorithm)->setFont(bold);
            }
        }
        ++row;
    }
}

void ResultsWindow::fillClusterTable() {
    int row = 0;
    for (const selvo::ProfileCluster& cluster : m_profile.clusters) {
        setCell(*tblClusters, row, 0,
                QStringLiteral("%1\n%2").arg(text(cluster.letter), qtext(cluster.members)),
                Qt::AlignLeft | Qt::AlignVCenter);
        setCell(*tblClusters, row, 1, qtext(selvo::TotalText(cluster.score)));
        setCell(*tblClusters, row, 2, qtext(selvo::PercentageText(cluster.score)));
        for (const q::Algorithm algorithm : {q::X4, q::X5}) {
            setCell(*tblClusters, row, 3 + algorithm, QString::number(cluster.diagnoses[algorithm]),
                    Qt::AlignCenter);
        }
        ++row;
    }
}

// The clusters' three rows are always in sight; the disorders' twelve too, unless the screen is
// too small for them and the chart together.
void ResultsWindow::fitTables() {
    tblClusters->resizeRowsToContents(); // two lines each: the letter, then the members
    tblClusters->setFixedHeight(heightOfAllRows(*tblClusters));
    tblDisorders->setMaximumHeight(heightOfAllRows(*tblDisorders));
}

// Tall enough for every disorder's row under the chart, whatever the fonts; on a screen too
// small for both, the table keeps what room there is and scrolls.
void ResultsWindow::fitToScreen() {
    const QRect screen = this->screen()->availableGeometry();
    const int room = screen.height() - 40;
    const int allRows = heightOfAllRows(*tblDisorders);
    tblDisorders->setMinimumHeight(allRows);
    int needed = layout()->minimumSize().height();
    if (needed > room) {
        tblDisorders->setMinimumHeight(std::max(120, allRows - (needed - room)));
        needed = layout()->minimumSize().height();
    }
    resize(std::min(1120, screen.width() - 40), std::min(std::max(needed, 760), room));
}

QString ResultsWindow::writtenFilesText() const {
    return txtFiles->toPlainText();
}

QString ResultsWindow::suggestedChartPath() const {
    return qtPath(
        selvo::pathInFolder(m_results.folder, selvo::SubjectProfileImageName(m_results.subject)));
}

void ResultsWindow::openReport() {
    if (!openUrl(QUrl::fromLocalFile(qtPath(m_results.reportPath)))) {
        showMessage(this, QMessageBox::Warning, windowTitle(),
                    QStringLiteral("Il referto non si è potuto aprire:\n%1\n\nIl sistema non ha "
                                   "un programma per i file RTF, oppure il file non è più nella "
                                   "cartella. Aprirlo da Word o da LibreOffice Writer.")
                        .arg(QDir::toNativeSeparators(qtPath(m_results.reportPath))));
    }
}

void ResultsWindow::openFolder() {
    if (!openUrl(QUrl::fromLocalFile(qtPath(m_results.folder)))) {
        showMessage(this, QMessageBox::Warning, windowTitle(),
                    QStringLiteral("La cartella non si è potuta aprire:\n%1\n\nAprirla dalla "
                                   "gestione file del sistema.")
                        .arg(QDir::toNativeSeparators(qtPath(m_results.folder))));
    }
}

void ResultsWindow::saveChartAs() {
    QString offered = suggestedChartPath();
    while (const auto choice = askChartFile(this, offered)) {
        const ChartTarget target = ChartTargetOf(choice->path, choice->format);
        if (!target.refusal.isEmpty()) {
            showMessage(this, QMessageBox::Warning, kSaveTitle, target.refusal);
            // Offered again in the folder chosen, under the name the chart would have there.
            offered =
                QFileInfo(choice->path).dir().filePath(QFileInfo(suggestedChartPath()).fileName());
            continue;
        }
        if (!target.replaces ||
            askYesNo(this, QMessageBox::Question, kSaveTitle,
                     QStringLiteral("Il file \"%1\" esiste già.\n\nSostituirlo con il grafico?")
                         .arg(QDir::toNativeSeparators(target.path)),
                     false)) {
            saveChart(target.path, target.format);
            return;
        }
        offered = target.path;
    }
}

bool ResultsWindow::saveChart(const QString& path, ChartFormat format) {
    const ChartTarget target = ChartTargetOf(path, format);
    const QString shown = QDir::toNativeSeparators(target.path);
    std::optional<QString> failure;
    if (!target.refusal.isEmpty()) {
        failure = target.refusal;
    } else if (const QByteArray bytes = ChartFileBytes(*chartProfile, target.format);
               bytes.isEmpty()) {
        failure = QStringLiteral("Non è stato possibile disegnare il grafico.\n\nPremere di "
                                 "nuovo «Salva grafico...».");
    } else if (const auto error = selvo::saveFileAtomically(
                   corePath(target.path),
                   std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        // One whole file or none: an older file of that name stays until the new one is
        // complete on the disk.
        failure = qtext(error->message()) +
                  QStringLiteral("\n\nScegliere un'altra cartella o liberare spazio, poi premere "
                                 "di nuovo «Salva grafico...».");
    }
    if (failure) {
        lblSaved->clear();
        showMessage(
            this, QMessageBox::Critical, QStringLiteral("GRAFICO NON SALVATO"),
            QStringLiteral("Il grafico non è stato salvato in\n%1\n\n%2").arg(shown, *failure));
        return false;
    }
    lblSaved->setText(QStringLiteral("Grafico salvato in %1").arg(shown));
    return true;
}
