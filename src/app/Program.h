// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// BrivanSelvo as the user starts it, shared by the program's own main and by the test that
// starts it, interrupts it and starts it again.
class Application;

// The larger font, the open-file dialog, the administration kept in the user's data folder,
// then the splash.
void StartProgram(Application& app);

// Where the subject's files go from the start: the folder chosen last, or the folder the
// program was started in where a clinic's files belong, or the documents folder's own.
void useStartingOutputFolder(Application& app);
