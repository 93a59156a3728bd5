// SPDX-License-Identifier: GPL-3.0-or-later
#include "studio/StudioWorker.h"

#include "platform/Clock.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace {

// As long as selvo-batch waits for a folder another run holds before saying so.
constexpr std::chrono::seconds kBusyNotice(3);

QString qtext(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A refusal of the whole run names selvo-batch's options; the window names its own fields.
QString inWindowTerms(const selvo::BatchOptions& options, const std::string& message) {
    QString said = qtext(message);
    if (options.dataset) {
        const QString option = QStringLiteral("--dataset ") + qtext(*options.dataset);
        if (said.startsWith(option)) {
            said.replace(0, option.size(),
                         QStringLiteral("Il dataset «%1»").arg(qtext(*options.dataset)));
        }
    }
    return said.replace(QStringLiteral("con --dataset"), QStringLiteral("per il dataset"))
        .replace(QStringLiteral("con --chiave"), QStringLiteral("con «Cambia chiave...»"));
}

// What the table shows of each planned input.
std::vector<StudioRow> rowsOf(const std::vector<selvo::PlannedInput>& plan) {
    std::vector<StudioRow> rows;
    rows.reserve(plan.size());
    for (const selvo::PlannedInput& input : plan) {
        StudioRow row{qtext(input.file),
                      qtext(input.content.subject.surname),
                      qtext(input.content.subject.name),
                      QDir::toNativeSeparators(QFileInfo(qtext(input.file)).absolutePath()),
                      StudioRow::State::Ready,
                      qtext(input.content.note)};
        if (input.sameFileAs) {
            row.state = StudioRow::State::Repeated;
            row.detail = qtext(*input.sameFileAs);
        } else if (input.refusal) {
            row.state = StudioRow::State::Refused;
            row.detail = qtext(*input.refusal);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// The reports' time: fixed by SOURCE_DATE_EPOCH as for selvo-batch, else the clock's.
selvo::DateTimeSource reportTime() {
    auto source = selvo::BatchDateTimeSource(std::getenv("SOURCE_DATE_EPOCH"));
    if (auto* fixed = std::get_if<selvo::DateTimeSource>(&source)) {
        return std::move(*fixed);
    }
    return selvo::CurrentDateTimeText;
}

// A plan says nothing and is never stopped halfway: it writes nothing.
class QuietListener : public selvo::BatchListener {
public:
    void say(const std::string&) override {}
};

} // namespace

class StudioWorker::Listener : public selvo::BatchListener {
public:
    explicit Listener(StudioWorker& worker) : m_worker(worker) {}

    void say(const std::string& line) override {
        // Lines about one input reach the table through settled().
        if (!m_inRun) {
            const std::lock_guard lock(m_worker.m_mutex);
            m_worker.m_news.lines << qtext(line);
        }
    }
    // Shown whatever the phase: the bar stands still meanwhile.
    void waiting(const std::string& line) override {
        const std::lock_guard lock(m_worker.m_mutex);
        m_worker.m_news.lines << qtext(line);
    }
    void started(std::size_t total) override {
        m_inRun = true;
        const std::lock_guard lock(m_worker.m_mutex);
        m_worker.m_news.total = total;
    }
    void progressed(std::size_t seen) override {
        std::function<void(std::size_t)> hook;
        {
            const std::lock_guard lock(m_worker.m_mutex);
            m_worker.m_news.seen = seen;
            hook = m_worker.m_hook;
        }
        if (hook) {
            hook(seen);
        }
    }
    void settled(std::size_t index, const selvo::InputOutcome& outcome) override {
        const std::lock_guard lock(m_worker.m_mutex);
        m_worker.m_news.settled.emplace_back(index, outcome);
    }
    void finished() override { m_inRun = false; }
    bool stopRequested() override { return m_worker.m_stop; }

private:
    StudioWorker& m_worker;
    bool m_inRun = false;
};

StudioWorker::StudioWorker(QObject* parent) : QObject(parent) {}

StudioWorker::~StudioWorker() {
    m_stop = true;
    if (m_thread != nullptr) {
        m_thread->wait();
        delete m_thread;
    }
}

void StudioWorker::plan(const selvo::BatchOptions& options) {
    m_pendingPlan = options;
    if (m_thread == nullptr) {
        startPlan();
    }
}

void StudioWorker::startPlan() {
    const selvo::BatchOptions options = std::move(*m_pendingPlan);
    m_pendingPlan.reset();
    auto rows = std::make_shared<std::vector<StudioRow>>();
    auto problem = std::make_shared<QString>();
    startThread(
        [options, rows, problem] {
            QuietListener quiet;
            auto prepared = selvo::PrepareBatch(options, quiet, kBusyNotice);
            if (const auto* stop = std::get_if<selvo::BatchStop>(&prepared)) {
                *problem = inWindowTerms(options, stop->message);
                // The inputs are still worth showing when only the dataset is refused.
                selvo::BatchOptions withoutDataset = options;
                withoutDataset.dataset.reset();
                withoutDataset.pseudonyms = false;
                withoutDataset.keyFile.reset();
                prepared = selvo::PrepareBatch(withoutDataset, quiet, kBusyNotice);
            }
            if (const auto* ready = std::get_if<selvo::PreparedBatch>(&prepared)) {
                *rows = rowsOf(ready->inputs());
            }
        },
        [this, rows, problem] {
            // A newer request makes this plan stale.
            if (m_pendingPlan) {
                startPlan();
            } else {
                emit planned(*rows, *problem);
            }
        });
}

void StudioWorker::run(const selvo::BatchOptions& options) {
    m_stop = false;
    m_running = true;
    m_pendingPlan.reset();
    {
        const std::lock_guard lock(m_mutex);
        m_news = {};
    }
    auto outcome = std::make_shared<StudioOutcome>();
    const auto work = [this, options, outcome] {
        // The key's folder is made only now: planning writes nothing.
        if (options.keyFile) {
            std::error_code ignored;
            std::filesystem::create_directories(selvo::pathFromUtf8(*options.keyFile).parent_path(),
                                                ignored);
        }
        Listener listener(*this);
        auto prepared = selvo::PrepareBatch(options, listener, kBusyNotice);
        if (const auto* stop = std::get_if<selvo::BatchStop>(&prepared)) {
            *outcome = {stop->status, stop->status == selvo::kBatchInterrupted, true,
                        inWindowTerms(options, stop->message)};
            return;
        }
        const selvo::BatchTotals totals = selvo::RunPreparedBatch(
            std::get<selvo::PreparedBatch>(prepared), listener, reportTime());
        *outcome = {totals.status, totals.interrupted, false, qtext(totals.summary)};
    };
    const auto done = [this, outcome] {
        m_running = false;
        emit finished(*outcome);
        if (m_pendingPlan && m_thread == nullptr) {
            startPlan();
        }
    };
    if (m_thread != nullptr) {
        // A plan still under way: the run starts once it is over.
        connect(
            m_thread, &QThread::finished, this, [this, work, done] { startThread(work, done); },
            Qt::QueuedConnection);
    } else {
        startThread(work, done);
    }
}

StudioNews StudioWorker::takeNews() {
    const std::lock_guard lock(m_mutex);
    StudioNews news = m_news;
    m_news.settled.clear();
    m_news.lines.clear();
    return news;
}

void StudioWorker::setProgressHookForTest(std::function<void(std::size_t)> hook) {
    const std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

void StudioWorker::startThread(std::function<void()> work, std::function<void()> done) {
    m_thread = QThread::create(std::move(work));
    m_thread->setParent(this); // freed with the worker even if its deleteLater never runs
    connect(m_thread, &QThread::finished, this, [this, done] {
        m_thread->deleteLater();
        m_thread = nullptr;
        done();
    });
    m_thread->start();
}
