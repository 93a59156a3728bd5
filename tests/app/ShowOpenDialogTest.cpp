// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog that chooses the data file to reload.

#include "datafiles/ui/OpenDialog.h"

#include "ReloadFixture.h"
#include "app/Reload.h"
#include "datafiles/DataFile.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "platform/ReadFile.h"
#include "support/TempDir.h"

#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

using namespace reload_fixture;

// The dialog is answered from a timer: check what it offers, then choose or cancel.
void whenFileDialogOpens(const std::function<void(QFileDialog&)>& act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        act(*dialog);
    });
    poll->start(5);
}

TEST(ShowOpenDialog, OffersTheThreeFiltersAndStaysInTheFolderUntilTheFileIsRead) {
    const TempDir dir;
    fs::create_directory(dir.file("studio"));
    const fs::path file = writeDataFile(dir.file("studio") / "SELVO_GRP1_S01.csv", "x");
    QString title;
    QStringList filters;
    QString active;
    whenFileDialogOpens([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        active = dialog.selectedNameFilter();
        dialog.selectFile(QString::fromStdString(selvo::utf8Of(file)));
        static_cast<QDialog&>(dialog).accept();
    });
    const std::string chosen = ShowOpenDialog(nullptr);

    EXPECT_EQ(title, "Open Dialog Box");
    EXPECT_EQ(filters, QStringList({"comma separated values (*.csv)", "Text files (*.txt)",
                                    "All Files (*.*)"}));
    EXPECT_EQ(active, "comma separated values (*.csv)");
    EXPECT_EQ(selvo::pathFromUtf8(chosen), file); // by parts: "/" and "\\" alike on Windows
    EXPECT_EQ(fs::current_path(), dir.path());
}

// The chosen name reaches the core as UTF-8 on every system, so names beyond the ANSI code
// page of Windows open too, and their folder becomes the output folder once the file is read.
TEST(ShowOpenDialog, AFileNamedBeyondTheAnsiCodePageIsReadBack) {
    const TempDir dir;
    const fs::path folder = dir.path() / selvo::pathFromUtf8("studio Łódź");
    fs::create_directory(folder);
    const std::string bytes = testsupport::dataFileOf(savedSubject());
    const fs::path file =
        writeDataFile(folder / selvo::pathFromUtf8("SELVO_Popescu_Ștefan.csv"), bytes);
    whenFileDialogOpens([&](QFileDialog& dialog) {
        dialog.selectFile(QString::fromStdString(selvo::utf8Of(file)));
        static_cast<QDialog&>(dialog).accept();
    });
    const std::string chosen = ShowOpenDialog(nullptr);
    EXPECT_EQ(selvo::readWholeFile(chosen, bytes.size()).value(), bytes) << chosen;
    Program program;
    whenSubjectFormOpens([](frmLogin&) {});
    ReloadDataFile(program.app, chosen);
    EXPECT_EQ(selvo::pathFromUtf8(program.state.outputFolder), folder);
}

TEST(ShowOpenDialog, CancelledGivesNothingAndStaysInTheFolder) {
    const TempDir dir;
    whenFileDialogOpens([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(ShowOpenDialog(nullptr), "");
    EXPECT_EQ(fs::current_path(), dir.path());
}

} // namespace
