#pragma once
#include <string>

class QWidget;

// The open-file dialog of the reload, modal to its owner: the full path of the chosen file, or
// "" when cancelled. After a choice the current directory is the file's folder, so the next
// processing run writes its files beside the reloaded one.
std::string ShowOpenDialog(QWidget* owner);
