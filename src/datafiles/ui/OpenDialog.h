// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <QString>
#include <string>

class QWidget;

// The open-file dialog of the reload, modal to its owner: the full path of the chosen file, or
// "" when cancelled.
std::string ShowOpenDialog(QWidget* owner);

// A path as the core's file layer takes it, from Qt's name of it, and back.
std::string corePath(const QString& path);
QString qtPath(const std::string& path);

// The folder a file is in, absolute, named as the system names its current folder once it
// has moved into it (links resolved on POSIX systems).
std::string FolderOfFile(const std::string& path);
