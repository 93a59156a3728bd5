// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "BrivanSelvo - Studio": many data files processed at once, as selvo-batch processes them,
// without a terminal. The inputs are planned as soon as they are added, so the reason a file
// will not be processed shows before anything is written.
#include "studio/StudioWorker.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

class ElidedPathLabel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;

class StudioWindow : public QWidget {
    Q_OBJECT
public:
    explicit StudioWindow(QWidget* parent = nullptr);

    // Files and folders, as given on the command line or dropped.
    void addPaths(const QStringList& paths);
    // Writes into `folder` rather than beside each data file.
    void setOutputFolder(const QString& folder);

    bool running() const { return m_worker.running(); }
    bool planning() const { return m_planning; }
    QString summary() const;
    const StudioRows& rows() const { return m_rows; }
    // Called on the run's thread as each input is taken in hand; may ask the run to stop.
    void setProgressHookForTest(std::function<void(std::size_t seen)> hook);
    void requestStop() { m_worker.requestStop(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QWidget* buildInputs();
    QWidget* buildOutputs();
    QWidget* buildDataset();
    QWidget* buildRun();
    void addFiles();
    void addFolder();
    void removeSelected();
    void chooseFolder();
    void chooseKey();
    void optionsChanged();
    void replan();
    void planned(const std::vector<StudioRow>& rows, const QString& problem);
    void start();
    void cancel();
    bool askToCancel();
    void collectNews();
    void finished(const StudioOutcome& outcome);
    void openFolder();
    void openDataset();
    void saveList();
    void updateButtons();

    QString datasetFolder() const;
    QString keyPath() const;
    QString datasetProblem() const;
    selvo::BatchOptions options() const;

    StudioRows m_rows;
    StudioWorker m_worker;
    QTimer m_newsTimer;
    QTimer m_replanTimer;
    QElapsedTimer m_clock;
    bool m_planning = false;
    bool m_closeWhenDone = false;
    bool m_datasetWritten = false;
    QString m_outFolder;
    QString m_chosenKey;
    QString m_planProblem;  // why the run would write nothing at all
    QStringList m_runLines; // the run's lines not about one subject, shown with its summary

    QTableView* m_table = nullptr;
    QCheckBox* m_subfolders = nullptr;
    QPushButton* m_addFiles = nullptr;
    QPushButton* m_addFolder = nullptr;
    QPushButton* m_remove = nullptr;
    QLabel* m_count = nullptr;
    QRadioButton* m_beside = nullptr;
    QRadioButton* m_intoFolder = nullptr;
    ElidedPathLabel* m_folderLabel = nullptr;
    QPushButton* m_changeFolder = nullptr;
    QCheckBox* m_dataset = nullptr;
    QLineEdit* m_datasetName = nullptr;
    ElidedPathLabel* m_datasetLabel = nullptr;
    QCheckBox* m_pseudonyms = nullptr;
    ElidedPathLabel* m_keyLabel = nullptr;
    QPushButton* m_changeKey = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_timeLeft = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_openFolder = nullptr;
    QPushButton* m_openDataset = nullptr;
    QPushButton* m_saveList = nullptr;
};
