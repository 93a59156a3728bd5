// SPDX-License-Identifier: GPL-3.0-or-later

// The profile window a run ends with, as the operator meets it: after the subject form, with
// the run's own numbers, and its buttons.
#include "profile/ui/ResultsWindow.h"
#include "app/Application.h"
#include "profile/ui/ProfileChart.h"
#include "subject/ui/frmLogin.h"
#include "support/ExternalTool.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/ProfileOnScreen.h"
#include "support/SubjectForm.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <functional>
#include <set>

namespace fs = std::filesystem;

namespace {

namespace q = selvo::questionnaire;

using Answering = std::function<std::pair<int, int>(int item)>; // agreement, distress

struct Program {
    selvo::ProgramState state;
    Application app{state};

    explicit Program(const Answering& answering) {
        for (int item = 1; item <= 94; ++item) {
            const auto [agreement, distress] = answering(item);
            state.administration.answers.agreement[item] = static_cast<selvo::Integer>(agreement);
            state.administration.answers.distress[item] = static_cast<selvo::Integer>(distress);
        }
        state.administration.allAnswered = true;
    }
};

// Nothing met: every agreement 1.
std::pair<int, int> calm(int) {
    return {1, 0};
}

// Paranoid items at 5 with distress 2 (diagnosed under T > 4 only), borderline items at 7 with
// distress 3 (under both), everything else 3.
std::pair<int, int> troubled(int item) {
    const std::set<int> paranoid{1, 13, 25, 37, 49, 61, 73};
    const std::set<int> borderline{5, 17, 29, 41, 53, 65, 77, 87, 92, 94};
    if (paranoid.contains(item)) {
        return {5, 2};
    }
    if (borderline.contains(item)) {
        return {7, 3};
    }
    return {3, 0};
}

struct Seen {
    QString title;
    QString subject;
    std::vector<double> barKeys, barHeights;
    std::array<std::vector<double>, q::kAlgorithmCount> marks;
    std::map<std::string, std::string> table;
    std::vector<QStringList> clusterRows;
};

Seen look(ResultsWindow& window) {
    Seen seen;
    seen.title = window.windowTitle();
    seen.subject = window.findChild<QLabel*>("lblSubject")->text();
    auto* chart = window.findChild<QCustomPlot*>(QStringLiteral("ProfileChart"));
    std::vector<std::pair<double, double>> bars;
    for (int k = 0; k < chart->plottableCount(); ++k) {
        if (auto* set = qobject_cast<QCPBars*>(chart->plottable(k))) {
            for (const QCPBarsData& bar : *set->data()) {
                bars.emplace_back(bar.key, bar.value);
            }
        }
    }
    std::ranges::sort(bars);
    for (const auto& [key, height] : bars) {
        seen.barKeys.push_back(key);
        seen.barHeights.push_back(height);
    }
    for (int k = 0; k < chart->graphCount() && k < q::kAlgorithmCount; ++k) {
        for (const QCPGraphData& mark : *chart->graph(k)->data()) {
            seen.marks[static_cast<std::size_t>(k)].push_back(mark.key);
        }
    }
    seen.table = tableDimensionalScores(window);
    const auto* clusters = window.findChild<QTableWidget*>(QStringLiteral("tblClusters"));
    for (int row = 0; row < clusters->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < clusters->columnCount(); ++column) {
            cells << clusters->item(row, column)->text();
        }
        seen.clusterRows.push_back(cells);
    }
    return seen;
}

// The subject form filled for `surname` and confirmed; `act` runs on the profile window
// before it is closed.
Seen runAndLook(Program& program, const char* surname,
                const std::function<void(ResultsWindow&)>& act = {}) {
    frmLogin& form = program.app.login();
    form.show();
    formControl<QLineEdit>(form, "txtUserName").setText(QStringLiteral("Anna"));
    formControl<QLineEdit>(form, "txtPassword").setText(QString::fromUtf8(surname));
    formControl<QLineEdit>(form, "txtEta").setText(QStringLiteral("41"));
    formControl<QRadioButton>(form, "Option1_SFemale").click();
    formControl<QRadioButton>(form, "Option1_ST2").click();
    formControl<QRadioButton>(form, "Option1_stud5").click();
    Seen seen;
    MessageBoxRecorder boxes({}, [&](ResultsWindow& window) {
        seen = look(window);
        if (act) {
            act(window);
        }
    });
    QTest::mouseClick(&formControl<QPushButton>(form, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(boxes.boxes().size(), 1u);
    return seen;
}

std::string reportOf(const TempDir& dir, const std::string& surname) {
    return fileBytes(dir.file("SELVO_" + surname + "_Anna_report.rtf"));
}

TEST(ResultsWindow, ShowsEachSubjectsOwnBarsMarksAndNumbers) {
    const TempDir dir;
    struct Subject {
        const char* surname;
        Answering answering;
        std::vector<double> marksX4, marksX5; // PAR stands at 1, BDL at 5
        QStringList clusterDiagnoses;         // A, B, C: under T > 4, then T > 5
    };
    for (const Subject& subject :
         {Subject{"Sereni", calm, {}, {}, {"0", "0", "0", "0", "0", "0"}},
          Subject{"Inquieti", troubled, {1}, {5}, {"1", "0", "1", "1", "0", "0"}}}) {
        Program program(subject.answering);
        const Seen seen = runAndLook(program, subject.surname);
        SCOPED_TRACE(subject.surname);

        EXPECT_EQ(seen.title, "BrivanSELVO - Profilo");
        EXPECT_TRUE(seen.subject.contains(QString::fromUtf8(subject.surname) + " Anna"));
        EXPECT_TRUE(seen.subject.contains("41"));
        // The table says what the report says, disorder by disorder.
        const std::map<std::string, std::string> report =
            reportDimensionalScores(reportOf(dir, subject.surname));
        ASSERT_EQ(report.size(), 12u);
        EXPECT_EQ(seen.table, report);
        // Each bar is the report's percentage, in the questionnaire's order, DE and PA apart.
        EXPECT_EQ(seen.barKeys, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13}));
        std::vector<double> reported;
        for (const char* name :
             {"PAR", "SZ", "ST", "AS", "BDL", "HIS", "NAR", "AV", "DEP", "O-C", "DE", "PA"}) {
            const std::string shown = report.at(name);
            reported.push_back(
                std::clamp(std::stod(shown.substr(shown.find('|') + 1)), 0.0, 100.0));
        }
        EXPECT_EQ(seen.barHeights, reported);
        // PAR meets T > 4 only; BDL meets both: each threshold has its own marks.
        std::vector<double> x4 = subject.marksX4;
        x4.insert(x4.end(), subject.marksX5.begin(), subject.marksX5.end());
        std::ranges::sort(x4);
        EXPECT_EQ(seen.marks[q::X4], x4);
        EXPECT_EQ(seen.marks[q::X5], subject.marksX5);
        QStringList diagnoses;
        for (const int column : {3, 4}) {
            for (const QStringList& row : seen.clusterRows) {
                diagnoses << row[column];
            }
        }
        EXPECT_EQ(diagnoses,
                  (QStringList{subject.clusterDiagnoses[0], subject.clusterDiagnoses[2],
                               subject.clusterDiagnoses[4], subject.clusterDiagnoses[1],
                               subject.clusterDiagnoses[3], subject.clusterDiagnoses[5]}));
    }
}

TEST(ResultsWindow, OpensTheReportAndFolderAndSavesTheChartAsPngAndPdf) {
    const TempDir dir;
    Program program(troubled);
    std::vector<QUrl> opened;
    QString suggested;
    QImage png;
    std::string pdf;
    runAndLook(program, "Inquieti", [&](ResultsWindow& window) {
        window.openUrl = [&opened](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        QTest::mouseClick(window.findChild<QPushButton*>("cmdReport"), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdFolder"), Qt::LeftButton);
        suggested = window.suggestedChartPath();
        for (const ChartFormat format : {ChartFormat::Png, ChartFormat::Pdf}) {
            const QString path = QString::fromStdString(
                dir.file(format == ChartFormat::Png ? "profilo.png" : "profilo.pdf").string());
            window.askChartFile = [path, format](QWidget*, const QString&) {
                return std::optional<ChartFileChoice>(ChartFileChoice{path, format});
            };
            QTest::mouseClick(window.findChild<QPushButton*>("cmdSaveChart"), Qt::LeftButton);
        }
        png.load(QString::fromStdString(dir.file("profilo.png").string()));
        pdf = fileBytes(dir.file("profilo.pdf"));
    });

    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(fs::path(opened[0].toLocalFile().toStdString()),
              dir.file("SELVO_Inquieti_Anna_report.rtf"));
    EXPECT_EQ(fs::path(opened[1].toLocalFile().toStdString()), dir.path());
    EXPECT_EQ(fs::path(suggested.toStdString()), dir.file("SELVO_Inquieti_Anna_profilo.png"));
    EXPECT_EQ(png.size(), kChartImageSize);
    ASSERT_TRUE(pdf.starts_with("%PDF"));
    // The chart is shared without a name: neither picture names the subject.
    EXPECT_EQ(pdf.find("Inquieti"), std::string::npos);
#ifdef SELVO_HAS_PDFTOTEXT
    const std::string text =
        run("pdftotext " + shellQuoted(dir.file("profilo.pdf").string()) + " -");
    for (const char* label : {"Punteggio dimensionale", "PAR", "BDL", "O-C", "PA", "100 %",
                              "Diagnosi T > 4 & D > 1", "Diagnosi T > 5 & D > 1"}) {
        EXPECT_NE(text.find(label), std::string::npos) << label << " in:\n" << text;
    }
#endif
}

TEST(ResultsWindow, EnterAndEscCloseItWhereverTheFocusIs) {
    const TempDir dir;
    Program program(calm);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        bool closed = false;
        runAndLook(program, "Sereni", [&closed, key](ResultsWindow& window) {
            auto* table = window.findChild<QTableWidget*>(QStringLiteral("tblDisorders"));
            table->setFocus();
            QTest::keyClick(table, key);
            closed = !window.isVisible();
        });
        EXPECT_TRUE(closed) << key;
    }
}

TEST(ResultsWindow, AChartThatCannotBeSavedIsToldAndLeavesNoFile) {
    const TempDir dir;
    const selvo::AnswerSet answers{};
    selvo::SubjectRecord subject;
    subject.name = "Anna";
    subject.surname = "Sereni";
    ResultsWindow window({subject, "09/12/2026 10:00:00", dir.path().string(), "",
                          dir.file("r.rtf").string(), selvo::ScoreAnswers(answers)});
    window.show();
    MessageBoxRecorder boxes;
    const fs::path missing = dir.file("non-esiste") / "profilo.png";
    EXPECT_FALSE(window.saveChart(QString::fromStdString(missing.string()), ChartFormat::Png));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "GRAFICO NON SALVATO");
    EXPECT_TRUE(boxes.boxes()[0].text.contains("Salva grafico..."))
        << boxes.boxes()[0].text.toStdString();
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    EXPECT_TRUE(window.findChild<QLabel*>("lblSaved")->text().isEmpty());
}

// Whatever name is typed in the save dialog, the chart is a PNG or a PDF and takes the place of
// no file of another kind: not the subject's data file or report, nor any file that is not a
// picture or a PDF. A refused name is told and the dialog offered again.
// Mario Rossi's profile, with his data file and report in the folder.
struct RossiWindow {
    static constexpr const char* kData = "0,\"Mario\",\"Rossi\"\r\n";
    explicit RossiWindow(const TempDir& dir)
        : window({subject(), "09/12/2026 10:00:00", dir.path().string(), "",
                  dir.file("SELVO_Rossi_Mario_report.rtf").string(),
                  selvo::ScoreAnswers(selvo::AnswerSet{})}) {
        std::ofstream(dir.file("SELVO_Rossi_Mario.csv"), std::ios::binary) << kData;
        std::ofstream(dir.file("SELVO_Rossi_Mario_report.rtf"), std::ios::binary) << "{\\rtf1 }";
        window.show();
    }
    static selvo::SubjectRecord subject() {
        selvo::SubjectRecord rossi;
        rossi.name = "Mario";
        rossi.surname = "Rossi";
        return rossi;
    }
    void saveChart() {
        QTest::mouseClick(window.findChild<QPushButton*>("cmdSaveChart"), Qt::LeftButton);
    }
    ResultsWindow window;
};

TEST(ResultsWindow, TheChartReplacesOnlyAPictureOrAPdf) {
    const TempDir dir;
    RossiWindow rossi(dir);
    ResultsWindow& window = rossi.window;
    const auto put = [&dir](const char* name, const std::string& bytes) {
        std::ofstream(dir.file(name), std::ios::binary) << bytes;
    };
    put("note.png", "non un'immagine");
    put("vecchio.pdf", "%PDF-1.4 vecchio");
    const auto everyFile = [&dir] {
        std::map<std::string, std::string> files;
        for (const std::string& name : namesIn(dir.path())) {
            files[name] = fileBytes(dir.file(name));
        }
        return files;
    };
    const auto png = [](const std::string& bytes) { return bytes.starts_with("\x89PNG\r\n"); };
    const auto pdf = [](const std::string& bytes) { return bytes.starts_with("%PDF-"); };
    struct Case {
        const char* typed;
        ChartFormat type;
        const char* written; // nothing: refused, every file as it was
        std::function<bool(const std::string&)> holds;
        const char* replaceAnswer = "";
    };
    const std::vector<Case> cases{
        {"SELVO_Rossi_Mario.csv", ChartFormat::Png, nullptr, {}},
        {"SELVO_Rossi_Mario_report.rtf", ChartFormat::Pdf, nullptr, {}},
        {"grafico.jpg", ChartFormat::Png, nullptr, {}},
        {"note.png", ChartFormat::Png, nullptr, {}},
        {"SELVO_Rossi_Mario", ChartFormat::Png, "SELVO_Rossi_Mario.png", png},
        {"profilo", ChartFormat::Pdf, "profilo.pdf", pdf},
        {"Profilo2.PNG", ChartFormat::Pdf, "Profilo2.PNG", png},
        {"vecchio.pdf", ChartFormat::Pdf, nullptr, {}, "No"},
        {"vecchio.pdf", ChartFormat::Png, "vecchio.pdf",
         [](const std::string& bytes) {
             return bytes.starts_with("%PDF-") && bytes.find("vecchio") == std::string::npos;
         },
         "Sì"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.typed);
        const std::map<std::string, std::string> before = everyFile();
        std::vector<QString> offered;
        window.askChartFile = [&](QWidget*, const QString& suggested) {
            offered.push_back(suggested);
            return offered.size() == 1
                       ? std::optional(ChartFileChoice{
                             QString::fromStdString(dir.file(each.typed).string()), each.type})
                       : std::nullopt;
        };
        MessageBoxRecorder boxes;
        boxes.answerWith(QString::fromUtf8(each.replaceAnswer));
        rossi.saveChart();
        if (each.written == nullptr) {
            ASSERT_EQ(boxes.boxes().size(), 1u);
            EXPECT_EQ(boxes.boxes()[0].title, "Salva grafico");
            ASSERT_EQ(offered.size(), 2u) << "offered again";
            // In the folder chosen, under the chart's name, or the name kept when only the
            // replacement was declined.
            const fs::path again = std::string(each.replaceAnswer).empty()
                                       ? dir.file("SELVO_Rossi_Mario_profilo.png")
                                       : dir.file(each.typed);
            EXPECT_EQ(fs::path(offered[1].toStdString()), again);
            EXPECT_EQ(everyFile(), before);
        } else {
            EXPECT_EQ(offered.size(), 1u);
            EXPECT_EQ(boxes.boxes().size(), std::string(each.replaceAnswer).empty() ? 0u : 1u);
            EXPECT_TRUE(each.holds(fileBytes(dir.file(each.written))));
        }
    }
    // The last guard: saving by name alone refuses the same files.
    MessageBoxRecorder boxes;
    EXPECT_FALSE(window.saveChart(
        QString::fromStdString(dir.file("SELVO_Rossi_Mario.csv").string()), ChartFormat::Png));
    EXPECT_EQ(fileBytes(dir.file("SELVO_Rossi_Mario.csv")), RossiWindow::kData);
}

#ifndef _WIN32 // there the system's own dialog opens
// The dialog itself, as the operator uses it: the name typed, the type chosen by keyboard.
TEST(ResultsWindow, TheSaveDialogGivesTheTypedNameAndTheChosenType) {
    const TempDir dir;
    RossiWindow rossi(dir);
    std::deque<std::function<void(QFileDialog&)>> steps;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&steps] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->isVisible() && !steps.empty()) {
            const auto step = steps.front();
            steps.pop_front();
            step(*dialog);
        }
    });
    poll.start(5);
    const auto typed = [](const QString& name, bool pdf) {
        return [name, pdf](QFileDialog& dialog) {
            if (pdf) {
                QTest::keyClick(dialog.findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
            }
            auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
            edit->setText(name);
            QTest::keyClick(edit, Qt::Key_Return);
        };
    };
    MessageBoxRecorder boxes;
    steps = {typed("profilo", true)};
    rossi.saveChart();
    EXPECT_TRUE(fileBytes(dir.file("profilo.pdf")).starts_with("%PDF-"));

    // Qt's own question whether to replace a file never comes: the window refuses this one.
    steps = {typed("SELVO_Rossi_Mario.csv", false),
             [](QFileDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }};
    rossi.saveChart();
    EXPECT_TRUE(steps.empty()) << "offered again";
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith(
        "Il grafico si salva solo come immagine PNG o come documento PDF: il nome "
        "\"SELVO_Rossi_Mario.csv\" ha un'altra estensione."))
        << boxes.boxes()[0].text.toStdString();
    EXPECT_EQ(fileBytes(dir.file("SELVO_Rossi_Mario.csv")), RossiWindow::kData);
}
#endif

} // namespace
