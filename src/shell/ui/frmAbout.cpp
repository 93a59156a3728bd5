#include "shell/ui/frmAbout.h"

#include "shell/ui/Shell.h"

frmAbout::frmAbout(Shell& shell) : m_shell(shell) {}
