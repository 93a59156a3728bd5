#include "datafiles/ui/OpenDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

std::string ShowOpenDialog(QWidget* owner) {
    QFileDialog dialog(owner, QStringLiteral("Open Dialog Box"));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters{QStringLiteral("comma separated values (*.csv)"),
                              QStringLiteral("Text files (*.txt)"),
                              QStringLiteral("All Files (*.*)")};
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
    dialog.resize(760, 480); // room for whole file names, sizes and dates
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().size() != 1) {
        return {};
    }
    const QFileInfo chosen(dialog.selectedFiles().front());
    QDir::setCurrent(chosen.absolutePath());
    return QFile::encodeName(chosen.absoluteFilePath()).toStdString();
}
