// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The window a successful processing run ends with: who was scored and when, the files written,
// the profile chart and the same numbers as a table, and the report one click away.
#include "profile/Profile.h"
#include "questionnaire/Subject.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QUrl;
enum class ChartFormat;

// What the window shows: values of the run just ended.
struct RunResults {
    selvo::SubjectRecord subject;
    std::string dateTime;     // the report's date and time
    std::string folder;       // where the files went, absolute, UTF-8
    std::string writtenFiles; // the folder, the files and which of them replaced older ones
    std::string reportPath;   // the RTF, absolute, UTF-8
    selvo::Scores scores;
};

// The name typed in the save dialog, as typed, and the kind of file chosen there.
struct ChartFileChoice {
    QString path;
    ChartFormat format;
};

class ResultsWindow : public QDialog {
    Q_OBJECT
public:
    explicit ResultsWindow(RunResults results, QWidget* parent = nullptr);

    // The desktop's opening of a file or folder with the program the system gives it.
    // Replaceable so a test can see what would be opened.
    std::function<bool(const QUrl&)> openUrl;

    // The save dialog: the chosen file, or nothing when cancelled. Replaceable so a test can
    // answer it.
    std::function<std::optional<ChartFileChoice>(QWidget* owner, const QString& suggested)>
        askChartFile;

    // The path the save dialog starts from: the subject's folder, the subject's name.
    QString suggestedChartPath() const;

    // Writes the chart to `path` as one whole file, or tells the operator why it could not. A
    // path without an extension takes the format's; one that names a file of another kind
    // (ChartTargetOf) is refused and left as it is.
    bool saveChart(const QString& path, ChartFormat format);

    // The folder and files text, as the window shows it.
    QString writtenFilesText() const;

private:
    void buildControls();
    void buildLayout();
    void fillDisorderTable();
    void fillClusterTable();
    void fitTables();
    void fitToScreen();

    void openReport();
    void openFolder();
    void saveChartAs();

    RunResults m_results;
    selvo::Profile m_profile;

    QLabel* lblSubject = nullptr;
    QPlainTextEdit* txtFiles = nullptr;
    QWidget* chartProfile = nullptr;
    QTableWidget* tblClusters = nullptr;
    QTableWidget* tblDisorders = nullptr;
    QLabel* lblSaved = nullptr;
    QPushButton* cmdReport = nullptr;
    QPushButton* cmdFolder = nullptr;
    QPushButton* cmdSaveChart = nullptr;
    QPushButton* cmdClose = nullptr;
};
