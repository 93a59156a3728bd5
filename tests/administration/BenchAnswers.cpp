// SPDX-License-Identifier: GPL-3.0-or-later

// selvo-bench-answers: what the recovery file costs the subject. Drives the questionnaire window
// offscreen through all the items by keys, as a subject at the keyboard would (Enter, a digit,
// and q/w/e for an agreement of 5 to 7), with the recovery file kept in a temporary folder, and
// prints the saves and flushes per answer.
#include "administration/Answering.h"
#include "administration/ui/Form1.h"
#include "administration/ui/RecoveryKeeper.h"
#include "app/Application.h"
#include "platform/TextFile.h"
#include "state/Startup.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

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

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication qt(argc, argv);
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "selvo-bench-answers: no temporary folder\n");
        return 1;
    }
    selvo::ProgramState state;
    selvo::SetProgramConstants(state);
    Application app(state);
    app.recovery().useFolder(folder.filePath(QStringLiteral("dati")).toStdString());
    Form1& form = app.form1();
    form.showMessage = [](const QString&) {};
    form.show();
    QWidget* keys = &form;

    Tally agreementOnly; // agreement 1 to 4
    Tally withDistress;  // agreement 5 to 7 and its distress answer
    const char distressKeys[] = {'q', 'w', 'e'};
    for (int item = 1; item <= state.ItemCount.asInt(); ++item) {
        QTest::keyClick(keys, Qt::Key_Return);
        const int agreement = (item * 3) % 7 + 1;
        const selvo::DiskWriteCounts before = selvo::diskWriteCounts();
        QTest::keyClick(keys, static_cast<char>('0' + agreement));
        if (selvo::AsksDistress(agreement)) {
            QTest::keyClick(keys, distressKeys[item % 3]);
            withDistress = withDistress + since(before, 2);
        } else {
            agreementOnly = agreementOnly + since(before, 1);
        }
    }
    print("agreement 1-4", agreementOnly);
    print("agreement 5-7 and distress", withDistress);
    print("all items", agreementOnly + withDistress);
    const auto flushes = withDistress.counts.fileFlushes + withDistress.counts.folderFlushes;
    std::printf("one item answered 5-7 with its distress answer: %.2f flushes\n",
                static_cast<double>(flushes) / (withDistress.answers / 2.0));
    return 0;
}
