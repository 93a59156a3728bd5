// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/RunSummary.h"

namespace selvo {
namespace {

// The name without its folder, by the system's own separators.
std::string bareName(const std::string& path) {
    return utf8Of(pathFromUtf8(path).filename());
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : (i + 1 == names.size() ? " e " : ", ")) + names[i];
    }
    return text;
}

} // namespace

std::string WrittenFilesMessage(const std::string& folder,
                                const std::vector<CommittedFile>& files) {
    std::string text =
        "Elaborazione completata. Nella cartella\n" + folder + "\nsono stati scritti i file:\n";
    std::vector<std::string> replaced;
    for (const CommittedFile& file : files) {
        text += "\n" + bareName(file.path);
        if (file.replaced) {
            replaced.push_back(bareName(file.path));
        }
    }
    if (replaced.size() == files.size() && !files.empty()) {
        text += "\n\nI file con lo stesso nome che vi si trovavano sono stati sostituiti.";
    } else if (replaced.size() == 1) {
        text += "\n\nIl file " + replaced.front() +
                " che vi si trovava con lo stesso nome è stato sostituito.";
    } else if (!replaced.empty()) {
        text += "\n\nI file " + joined(replaced) +
                " che vi si trovavano con lo stesso nome sono stati sostituiti.";
    }
    return text;
}

std::string StaleSetQuestion(const StoredSet& older, const std::vector<std::string>& files) {
    std::string text = "\n\nNella stessa cartella c'è ancora la serie di file scritta prima per "
                       "questo soggetto con il cognome «" +
                       older.surname + "» e il nome «" + older.name + "»:\n";
    for (const std::string& file : files) {
        text += "\n" + bareName(file);
    }
    return text + "\n\nSe resta, una successiva elaborazione della cartella con selvo-batch "
                  "conterà il soggetto due volte. Spostare questi file nel cestino del sistema?";
}

std::string TrashOutcomeMessage(const std::vector<std::string>& moved,
                                const std::vector<FileNotMoved>& kept) {
    std::string text;
    if (!moved.empty()) {
        std::vector<std::string> names;
        for (const std::string& file : moved) {
            names.push_back(bareName(file));
        }
        text = moved.size() == 1
                   ? "Il file " + names.front() +
                         " è stato spostato nel cestino del sistema, da cui si può ancora "
                         "recuperare."
                   : "I file " + joined(names) +
                         " sono stati spostati nel cestino del sistema, da cui si possono "
                         "ancora recuperare.";
    }
    for (const FileNotMoved& file : kept) {
        std::string reason =
            file.reason.empty() ? "il sistema non ha indicato il motivo." : file.reason;
        if (reason.back() != '.') {
            reason += '.';
        }
        text += (text.empty() ? "" : "\n\n") + std::string("Il file ") + bareName(file.path) +
                " non è stato spostato nel cestino ed è rimasto nella cartella: " + reason;
    }
    if (!kept.empty()) {
        text += "\n\nLo si può spostare o eliminare a mano.";
    }
    return text;
}

} // namespace selvo
