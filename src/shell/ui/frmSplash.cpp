#include "shell/ui/frmSplash.h"

#include "shell/ui/Shell.h"

frmSplash::frmSplash(Shell& shell) : m_shell(shell) {}
