// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/RunSummary.h"

#include <gtest/gtest.h>

namespace {

TEST(WrittenFilesMessage, NamesTheFolderEachFileAndWhatWasReplaced) {
    const std::string written = "Elaborazione completata. Nella cartella\n/studio/sede1\nsono "
                                "stati scritti i file:\n\nSELVO_R_M.csv\nSELVO_R_M_report.rtf\n"
                                "SELVO_SS000_R_M_sps.sps";
    EXPECT_EQ(selvo::WrittenFilesMessage("/studio/sede1", {{"SELVO_R_M.csv", false},
                                                           {"SELVO_R_M_report.rtf", false},
                                                           {"SELVO_SS000_R_M_sps.sps", false}}),
              written);
    EXPECT_EQ(selvo::WrittenFilesMessage("/studio/sede1", {{"SELVO_R_M.csv", true},
                                                           {"SELVO_R_M_report.rtf", true},
                                                           {"SELVO_SS000_R_M_sps.sps", true}}),
              written + "\n\nI file con lo stesso nome che vi si trovavano sono stati sostituiti.");
    EXPECT_EQ(selvo::WrittenFilesMessage("/studio/sede1", {{"SELVO_R_M.csv", true},
                                                           {"SELVO_R_M_report.rtf", false},
                                                           {"SELVO_SS000_R_M_sps.sps", true}}),
              written + "\n\nI file SELVO_R_M.csv e SELVO_SS000_R_M_sps.sps che vi si trovavano "
                        "con lo stesso nome sono stati sostituiti.");
}

TEST(TrashOutcomeMessage, SaysWhatMovedAndWhatStayedAndWhy) {
    EXPECT_EQ(selvo::TrashOutcomeMessage({"/s/SELVO_R_M.csv"},
                                         {{"/s/SELVO_R_M_report.rtf", "Permission denied"}}),
              "Il file SELVO_R_M.csv è stato spostato nel cestino del sistema, da cui si può "
              "ancora recuperare.\n\nIl file SELVO_R_M_report.rtf non è stato spostato nel "
              "cestino ed è rimasto nella cartella: Permission denied.\n\nLo si può spostare o "
              "eliminare a mano.");
}

} // namespace
