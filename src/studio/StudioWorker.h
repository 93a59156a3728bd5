// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Studio window's batch runs, on a thread of their own so the window never waits: a plan
// of the inputs (nothing written) each time they or the outputs change, and the run itself,
// whose news the window collects as often as it repaints.
#include "batch/BatchJob.h"
#include "studio/StudioRows.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QThread;

// What the run has told since the window last asked.
struct StudioNews {
    std::size_t total = 0;
    std::size_t seen = 0;
    std::vector<std::pair<std::size_t, selvo::InputOutcome>> settled;
    QStringList lines; // lines not about one input: a busy folder, the dataset's failure
};

struct StudioOutcome {
    int status = 0;
    bool interrupted = false;
    bool wroteNothing = false; // stopped before any subject, with this message
    QString summary;
};

class StudioWorker : public QObject {
    Q_OBJECT
public:
    explicit StudioWorker(QObject* parent = nullptr);
    ~StudioWorker() override; // stops a run and waits for the thread

    // Plans the inputs; planned() follows, for the latest request only.
    void plan(const selvo::BatchOptions& options);
    // Plans again and processes; finished() follows.
    void run(const selvo::BatchOptions& options);
    // Asks the run to stop after the subjects in hand; safe from any thread.
    void requestStop() { m_stop = true; }
    bool running() const { return m_running; }
    StudioNews takeNews();

    // Called on the run's thread each time one more input has been taken in hand.
    void setProgressHookForTest(std::function<void(std::size_t seen)> hook);

signals:
    void planned(const std::vector<StudioRow>& rows, const QString& problem);
    void finished(const StudioOutcome& outcome);

private:
    class Listener;
    void startPlan();
    void startThread(std::function<void()> work, std::function<void()> done);

    QThread* m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    bool m_running = false;
    std::optional<selvo::BatchOptions> m_pendingPlan;
    std::mutex m_mutex; // guards what follows, shared with the thread
    StudioNews m_news;
    std::function<void(std::size_t)> m_hook;
};
