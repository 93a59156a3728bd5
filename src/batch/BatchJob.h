// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A selvo-batch run as three steps any front end can drive: prepare (every input read, every
// refusal and conflict known, nothing written), run (each subject's outcome and the progress
// told through a listener, stopping cleanly when asked) and the closing line. The command line
// and the Studio window are two listeners of the same steps.
#include "batch/BatchDataset.h"
#include "batch/BatchPlan.h"
#include "batch/BatchRun.h"
#include "batch/DatasetKeyLock.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace selvo {

// The exit status of a run stopped by Ctrl+C (or SIGTERM), as a shell gives a program ended by
// SIGINT.
inline constexpr int kBatchInterrupted = 130;

// What became of one input once the run is over.
struct InputOutcome {
    enum class State {
        Written,    // its files are on the disk, its case in the dataset
        Failed,     // nothing written for it; `reason` says why
        Repeated,   // the same file as an earlier input, processed there
        NotReached, // the run was stopped before it
    };
    State state = State::NotReached;
    std::string reason;
};

// Told on the thread that runs the steps (stopRequested also on a commit's thread).
class BatchListener {
public:
    virtual ~BatchListener() = default;
    // A line for the person, its file names and fields already shown as text
    // (visibleText): a failure, a note, a folder another run is writing into.
    virtual void say(const std::string& line) = 0;
    // A line saying the run waits for a folder or a key another run holds; the wait goes on.
    virtual void waiting(const std::string& line) { say(line); }
    // The subjects start being processed: `total` inputs.
    virtual void started(std::size_t /*total*/) {}
    // `seen` inputs of the plan have been taken in hand.
    virtual void progressed(std::size_t /*seen*/) {}
    // Input `index` of the plan is settled.
    virtual void settled(std::size_t /*index*/, const InputOutcome& /*outcome*/) {}
    // Every subject is settled; what follows is the dataset and the closing line.
    virtual void finished() {}
    // Whether the run was asked to stop: the subjects in hand are finished, then it stops.
    virtual bool stopRequested() { return false; }
};

// Why a run stopped before writing anything, and its exit status (2, or 130 when asked to).
struct BatchStop {
    int status = 2;
    std::string message; // shown as text already, without the program's name
};

struct BatchTotals {
    std::size_t succeeded = 0;
    std::size_t failures = 0;
    std::size_t notReached = 0;
    bool interrupted = false;
    std::string summary; // the closing line without the program's name
    int status = 0;      // 0, 1 or 130, as selvo-batch exits
};

// A run with every input read and nothing written; the key of codes, when there is one, is
// this run's until the run is over or the preparation is dropped.
class PreparedBatch {
public:
    const std::vector<PlannedInput>& inputs() const { return m_plan; }

private:
    friend std::variant<PreparedBatch, BatchStop> PrepareBatch(const BatchOptions&, BatchListener&,
                                                               std::chrono::milliseconds);
    friend BatchTotals RunPreparedBatch(PreparedBatch&, BatchListener&, const DateTimeSource&);
    PreparedBatch() = default;

    BatchOptions m_options;
    std::vector<PlannedInput> m_plan;
    std::optional<BatchDataset> m_dataset;
    KeyLock m_keyLock;
    std::chrono::milliseconds m_busyNotice{};
};

// Gathers the inputs, makes the output folder, finishes renames an earlier run left half
// done, reads every input and the key, and plans every output. `busyNotice` is how long it
// waits for a folder or key another run holds before saying so.
std::variant<PreparedBatch, BatchStop> PrepareBatch(const BatchOptions& options,
                                                    BatchListener& listener,
                                                    std::chrono::milliseconds busyNotice);

// Processes the prepared inputs in order, each from a fresh program state, and carries on past
// failures; then, unless stopped, writes the dataset.
BatchTotals RunPreparedBatch(PreparedBatch& prepared, BatchListener& listener,
                             const DateTimeSource& now);

} // namespace selvo
