#pragma once
#include <string>

class QWidget;

// The open-file dialog of the reload, modal to its owner: the full path of the chosen file, or
// "" when cancelled. The current directory stays as it is: a file can still be refused.
std::string ShowOpenDialog(QWidget* owner);

// Makes the folder of a path ShowOpenDialog gave the current directory, once its file has been
// read, so the next processing run writes its files beside the reloaded one.
void MoveIntoFolderOf(const std::string& path);
