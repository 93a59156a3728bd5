// SPDX-License-Identifier: GPL-3.0-or-later
// A reloaded subject processed under a corrected name: the older set offered to the
// trash.

#include "app/Reload.h"

#include "ReloadFixture.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "processing/ProcessData.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace reload_fixture;

#ifndef _WIN32 // the recycle bin of Windows is the desktop's, not a test's

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const fs::path& value)
        : m_name(name), m_before(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name)) {
        qputenv(name, QFile::encodeName(QString::fromStdString(selvo::utf8Of(value))));
    }
    ~ScopedVariable() { m_had ? qputenv(m_name, m_before) : qunsetenv(m_name); }

private:
    const char* m_name;
    QByteArray m_before;
    bool m_had;
};

const std::vector<std::string> kOlderSet{"SELVO_GRP1_S01.csv", "SELVO_GRP1_S01_report.rtf",
                                         "SELVO_SS000_GRP1_S01_sps.sps"};
const std::vector<std::string> kCorrectedSet{"SELVO_GRP1_S02.csv", "SELVO_GRP1_S02_report.rtf",
                                             "SELVO_SS000_GRP1_S02_sps.sps"};

struct CorrectedRun {
    const char* label;
    const char* name;   // typed over the reloaded "S01"
    const char* answer; // to the question, when there is one
    bool trashBroken;
    std::vector<std::string> leftInFolder;
    std::vector<std::string> inTrash;
};
void PrintTo(const CorrectedRun& run, std::ostream* os) {
    *os << run.label;
}

class CorrectedName : public testing::TestWithParam<CorrectedRun> {};

// A reloaded subject processed under a corrected name: the set under the older name is offered
// to the trash, so that a later batch does not count the subject twice.
TEST_P(CorrectedName, OffersTheOlderSetToTheTrash) {
    const CorrectedRun& run = GetParam();
    const TempDir dir;
    const ScopedVariable home("HOME", dir.path());
    const ScopedVariable data("XDG_DATA_HOME", dir.file("dati"));
    if (run.trashBroken) {
        writeDataFile(dir.file("dati"), "not a folder");
    }
    const fs::path study = dir.file("studio");
    fs::create_directory(study);
    fs::current_path(study);
    testsupport::TestSubject saved = savedSubject();
    ASSERT_FALSE(
        selvo::ProcessData(saved.subject, saved.answers, selvo::utf8Of(study)).has_value());
    Program program;

    MessageBoxRecorder boxes;
    boxes.answerWith(QString::fromUtf8(run.answer));
    whenSubjectFormOpens(
        [&run](frmLogin& form) {
            form.findChild<QLineEdit*>(QStringLiteral("txtUserName"))
                ->setText(QString::fromUtf8(run.name));
            form.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        },
        false);
    ReloadDataFile(program.app, selvo::utf8Of(study / kOlderSet[0]));

    EXPECT_EQ(namesIn(study), run.leftInFolder);
    const fs::path trash = dir.file("dati") / "Trash" / "files";
    EXPECT_EQ(fs::is_directory(trash) ? namesIn(trash) : std::vector<std::string>{}, run.inTrash);
    ASSERT_FALSE(boxes.boxes().empty());
    const ShownBox& done = boxes.boxes()[0];
    // Whatever else was asked, the run ends with the profile.
    EXPECT_EQ(boxes.boxes().back().title, "BrivanSELVO - Profilo");
    if (std::string(run.name) == "S01") {
        EXPECT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(done.icon, QMessageBox::Information);
        return;
    }
    EXPECT_EQ(done.icon, QMessageBox::Question);
    EXPECT_EQ(done.buttons, QStringList({"Sì", "No"}));
    for (const std::string& name : kOlderSet) {
        EXPECT_TRUE(done.text.contains(QString::fromStdString(name))) << name;
    }
    EXPECT_TRUE(done.text.contains("cestino")) << done.text.toStdString();
    if (std::string(run.answer) == "Sì") {
        ASSERT_EQ(boxes.boxes().size(), 3u);
        const QString outcome = boxes.boxes()[1].text;
        EXPECT_TRUE(outcome.contains(run.trashBroken ? "non è stato spostato" : "spostati"))
            << outcome.toStdString();
    } else {
        EXPECT_EQ(boxes.boxes().size(), 2u);
    }
}

std::vector<std::string> bothSets() {
    std::vector<std::string> all = kOlderSet;
    all.insert(all.end(), kCorrectedSet.begin(), kCorrectedSet.end());
    std::sort(all.begin(), all.end());
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CorrectedName,
    testing::Values(CorrectedRun{"Si", "S02", "Sì", false, kCorrectedSet, kOlderSet},
                    CorrectedRun{"NoByDefault", "S02", "", false, bothSets(), {}},
                    CorrectedRun{"TrashUnavailable", "S02", "Sì", true, bothSets(), {}},
                    CorrectedRun{"SameNameAsksNothing", "S01", "Sì", false, kOlderSet, {}}),
    [](const testing::TestParamInfo<CorrectedRun>& info) { return info.param.label; });

#endif

} // namespace
