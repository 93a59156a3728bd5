#include "administration/ui/Form1.h"

#include "shell/ui/Shell.h"

Form1::Form1(Shell& shell) : m_shell(shell) {}

void Form1::ShowAgreementAnswer(int) {}
void Form1::ShowDistressAnswer(int) {}
void Form1::CheckCompletion() {}
