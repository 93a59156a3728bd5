#include "shell/ui/frmMain.h"

#include "shell/ui/Shell.h"

frmMain::frmMain(Shell& shell) : m_shell(shell) {}
