// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/ui/ChartTarget.h"

#include "datafiles/ui/OpenDialog.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "platform/ReadFile.h"

#include <QFileInfo>

#include <string>
#include <string_view>

namespace {

QString extensionOf(ChartFormat format) {
    return format == ChartFormat::Pdf ? QStringLiteral("pdf") : QStringLiteral("png");
}

// By the first bytes, which every PNG and every PDF begin with, not by the name.
bool holdsAChart(const std::string& path) {
    constexpr std::string_view png = "\x89PNG\r\n\x1a\n";
    constexpr std::string_view pdf = "%PDF-";
    const selvo::FileResult<std::string> start = selvo::readFileStart(path, png.size());
    return start.ok() && (start.value().starts_with(png) || start.value().starts_with(pdf));
}

} // namespace

ChartTarget ChartTargetOf(const QString& chosen, ChartFormat type) {
    ChartTarget target{chosen, type, {}, false};
    const QString name = QFileInfo(chosen).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0) { // a name that begins with its only dot has no extension either
        target.path = chosen + QLatin1Char('.') + extensionOf(type);
    } else {
        const QString extension = name.mid(dot + 1);
        if (extension.compare(extensionOf(ChartFormat::Png), Qt::CaseInsensitive) == 0) {
            target.format = ChartFormat::Png;
        } else if (extension.compare(extensionOf(ChartFormat::Pdf), Qt::CaseInsensitive) == 0) {
            target.format = ChartFormat::Pdf;
        } else {
            target.refusal =
                QStringLiteral("Il grafico si salva solo come immagine PNG o come documento "
                               "PDF: il nome \"%1\" ha un'altra estensione.\n\nScegliere un "
                               "nome che finisca con .png o .pdf, oppure un nome senza "
                               "estensione.")
                    .arg(name);
            return target;
        }
    }
    const std::string path = corePath(target.path);
    if (!selvo::pathExists(path)) {
        return target;
    }
    if (holdsAChart(path)) {
        target.replaces = true;
        return target;
    }
    target.refusal = QStringLiteral("Nella cartella c'è già \"%1\", che non è un'immagine PNG né "
                                    "un documento PDF: il grafico non lo sostituisce.\n\n"
                                    "Scegliere un altro nome.")
                         .arg(QFileInfo(target.path).fileName());
    return target;
}
