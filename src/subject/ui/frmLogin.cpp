#include "subject/ui/frmLogin.h"

#include "shell/ui/Shell.h"

frmLogin::frmLogin(Shell& shell) : m_shell(shell) {}

void frmLogin::showSubjectRecord() {}
