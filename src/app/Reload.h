// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Processing a saved subject again, from the main menu or from the questionnaire.
#include <string>

class QWidget;
class Application;

namespace selvo {
struct ProgramState;
}

// Whether the operator may go on to choose a file to reload. Answers given on the
// questionnaire and not yet processed would be replaced by the file's: then the operator is
// asked first, "No" by default. Answers that came from a reload live in their file already.
bool MayReplaceAnswersInHand(const selvo::ProgramState& state, QWidget* owner);

// Processes a saved subject again: reads the data file at `path` into the program state,
// brings the administration form in line with it and shows the subject data form, filled with
// the reloaded subject, modally. The file's folder becomes the output folder, where the
// processing runs write their files, and an administration in hand ends with its recovery
// file. A file that cannot be read or is not a data file changes nothing: the reader's error
// is shown and the subject form is not.
void ReloadDataFile(Application& app, const std::string& path);
