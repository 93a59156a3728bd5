// SPDX-License-Identifier: GPL-3.0-or-later

// selvo-bench-answers: what the recovery file costs the subject. Drives the questionnaire window
// offscreen through all the items by keys, as a subject at the keyboard would (Enter, a digit,
// and q/w/e for an agreement of 5 to 7), with the recovery file kept in a temporary folder, and
// prints the saves and flushes per answer, and how long each key takes to reach the screen.
//
//   selvo-bench-answers [--flush-delay MS] [--items N]
//
// --flush-delay makes every flush wait that much longer, as a slow USB stick or a busy network
// folder does; --items answers only the first N items.
#include "administration/Answering.h"
#include "administration/ui/Form1.h"
#include "administration/ui/RecoveryKeeper.h"
#include "app/Application.h"
#include "platform/DiskWrites.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

struct Tally {
    selvo::DiskWriteCounts counts;
    int answers = 0;
};

Tally operator+(const Tally& a, const Tally& b) {
    return {{a.counts.committedSets + b.counts.committedSets,
             a.counts.fileFlushes + b.counts.fileFlushes,
             a.counts.folderFlushes + b.counts.folderFlushes},
            a.answers + b.answers};
}

// What the disk was asked for since `before`, for this many answers.
Tally since(const selvo::DiskWriteCounts& before, int answers) {
    const selvo::DiskWriteCounts now = selvo::diskWriteCounts();
    return {{now.committedSets - before.committedSets, now.fileFlushes - before.fileFlushes,
             now.folderFlushes - before.folderFlushes},
            answers};
}

void print(const char* label, const Tally& tally) {
    const auto per = [&tally](std::uint64_t n) {
        return static_cast<double>(n) / static_cast<double>(tally.answers);
    };
    std::printf("%-32s %4d answers  saves %.2f  file flushes %.2f  folder flushes %.2f  "
                "per answer\n",
                label, tally.answers, per(tally.counts.committedSets),
                per(tally.counts.fileFlushes), per(tally.counts.folderFlushes));
}

// From a key's press to the screen drawn again: the key handled, then whatever it left to draw.
struct KeyTimes {
    double totalMs = 0;
    double maxMs = 0;
    int keys = 0;
};

template <typename Key> void pressTimed(QWidget* target, Key key, KeyTimes& times) {
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(target, key);
    QCoreApplication::processEvents();
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    times.totalMs += ms;
    times.maxMs = std::max(times.maxMs, ms);
    ++times.keys;
}

void print(const char* label, const KeyTimes& times) {
    std::printf("%-32s %4d keys     key to screen: mean %.1f ms  max %.1f ms\n", label, times.keys,
                times.keys > 0 ? times.totalMs / times.keys : 0.0, times.maxMs);
}

struct Options {
    int flushDelayMs = 0;
    int items = 0; // all of them
};

Options optionsFrom(const QStringList& args) {
    Options options;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QStringLiteral("--flush-delay")) {
            options.flushDelayMs = args[++i].toInt();
        } else if (args[i] == QStringLiteral("--items")) {
            options.items = args[++i].toInt();
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication qt(argc, argv);
    const Options options = optionsFrom(QApplication::arguments());
    selvo::delayFlushesForTesting(std::chrono::milliseconds(options.flushDelayMs));
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "selvo-bench-answers: no temporary folder\n");
        return 1;
    }
    selvo::ProgramState state;
    Application app(state);
    app.recovery().useFolder(folder.filePath(QStringLiteral("dati")).toStdString());
    Form1& form = app.form1();
    form.showMessage = [](const QString&) {};
    form.show();
    QWidget* keys = &form;

    Tally agreementOnly; // agreement 1 to 4
    Tally withDistress;  // agreement 5 to 7 and its distress answer
    int answers = 0;
    KeyTimes enterTimes, agreementTimes, distressTimes;
    const char distressKeys[] = {'q', 'w', 'e'};
    const int items = options.items > 0 ? std::min(options.items, selvo::questionnaire::kItemCount)
                                        : selvo::questionnaire::kItemCount;
    const bool slowDisk = options.flushDelayMs > 0;
    const selvo::DiskWriteCounts start = selvo::diskWriteCounts();
    for (int item = 1; item <= items; ++item) {
        pressTimed(keys, Qt::Key_Return, enterTimes);
        const int agreement = (item * 3) % 7 + 1;
        const bool distress = selvo::AsksDistress(agreement);
        const selvo::DiskWriteCounts before = selvo::diskWriteCounts();
        pressTimed(keys, static_cast<char>('0' + agreement), agreementTimes);
        if (distress) {
            pressTimed(keys, distressKeys[item % 3], distressTimes);
        }
        answers += distress ? 2 : 1;
        // On a slow disk the subject goes on while the saves are written, as at the screen;
        // otherwise each item's saves are counted once written.
        if (!slowDisk) {
            app.recovery().waitForSaves();
            Tally& tally = distress ? withDistress : agreementOnly;
            tally = tally + since(before, distress ? 2 : 1);
        }
    }
    QElapsedTimer drain;
    drain.start();
    app.recovery().waitForSaves();
    const double drainMs = static_cast<double>(drain.nsecsElapsed()) / 1e6;

    if (!slowDisk) {
        print("agreement 1-4", agreementOnly);
        print("agreement 5-7 and distress", withDistress);
        const auto flushes = withDistress.counts.fileFlushes + withDistress.counts.folderFlushes;
        std::printf("one item answered 5-7 with its distress answer: %.2f flushes\n",
                    static_cast<double>(flushes) / (withDistress.answers / 2.0));
    }
    // Saves given while another is being written are merged: the newest holds them all.
    print("all answers", since(start, answers));
    std::printf("each flush delayed by %d ms; the last answer on the disk %.0f ms after its key\n",
                options.flushDelayMs, drainMs);
    print("Enter (next item)", enterTimes);
    print("agreement key", agreementTimes);
    print("distress key", distressTimes);
    return 0;
}
