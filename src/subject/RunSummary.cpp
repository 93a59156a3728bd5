#include "subject/RunSummary.h"

namespace selvo {
namespace {

std::string bareName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

} // namespace selvo
