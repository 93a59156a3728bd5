#pragma once
#include <string>

class Shell;

// Processes a saved subject again: reads the data file at `path` into the program state,
// brings the administration form in line with it and shows the subject data form, filled with
// the reloaded subject, modally. A file that cannot be read or is not a data file changes
// nothing: the reader's error is shown and the subject form is not.
void ReloadDataFile(Shell& shell, const std::string& path);
