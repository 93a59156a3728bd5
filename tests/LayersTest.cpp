// SPDX-License-Identifier: GPL-3.0-or-later

// The folders of src/ are layers: a file may include its own folder and the folders of lower
// layers, never a higher one, and no two folders may include each other, even through others.
// The order, lowest first; folders on one line are siblings of one layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::vector<std::vector<std::string>> kLayers{
    {"text"},
    {"platform"},
    {"questionnaire", "questionnaire/content"},
    {"scoring"},
    {"report", "datafiles"},
    {"processing", "administration", "subject", "profile"},
    {"batch", "batch/bench"},
    {"widgets"},
    // What the main program's windows share; nothing below them sees it.
    {"state"},
    {"menu/ui", "administration/ui", "subject/ui", "datafiles/ui", "profile/ui"},
    {"app", "studio"},
    // Its own program, which includes nothing of ours.
    {"libviewer"},
};

// Folder of a file, relative to src/ ("administration/ui"), to the folders its includes name.
using IncludeGraph = std::map<std::string, std::set<std::string>>;

std::map<std::string, int> layerOfFolder() {
    std::map<std::string, int> layer;
    for (std::size_t rank = 0; rank < kLayers.size(); ++rank) {
        for (const std::string& folder : kLayers[rank]) {
            layer[folder] = static_cast<int>(rank);
        }
    }
    return layer;
}

// What is wrong with the graph, one line per fault: an undeclared folder, an include that
// goes up, a cycle.
std::vector<std::string> layerFaults(const IncludeGraph& graph) {
    const std::map<std::string, int> layer = layerOfFolder();
    std::set<std::string> undeclared;
    std::vector<std::string> faults;
    for (const auto& [from, targets] : graph) {
        for (const std::string& folder : targets) {
            for (const std::string& name : {from, folder}) {
                if (!layer.contains(name) && undeclared.insert(name).second) {
                    faults.push_back("folder " + name + " has no layer: add it to kLayers");
                }
            }
            if (layer.contains(from) && layer.contains(folder) &&
                layer.at(folder) > layer.at(from)) {
                faults.push_back(from + " includes " + folder + ", a higher layer");
            }
        }
    }
    // A folder that reaches itself again through its includes is in a cycle.
    for (const auto& [start, unused] : graph) {
        std::set<std::string> seen;
        std::vector<std::string> pending(graph.at(start).begin(), graph.at(start).end());
        while (!pending.empty()) {
            const std::string next = pending.back();
            pending.pop_back();
            if (next == start) {
                faults.push_back(start + " includes itself through other folders");
                break;
            }
            if (seen.insert(next).second && graph.contains(next)) {
                pending.insert(pending.end(), graph.at(next).begin(), graph.at(next).end());
            }
        }
    }
    return faults;
}

IncludeGraph includesOfSources(const std::filesystem::path& src) {
    IncludeGraph graph;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) {
            continue;
        }
        const std::string from =
            entry.path().parent_path().lexically_relative(src).generic_string();
        std::ifstream file(entry.path());
        std::string line;
        while (std::getline(file, line)) {
            const std::string prefix = "#include \"";
            if (line.rfind(prefix, 0) != 0) {
                continue;
            }
            const std::string header =
                line.substr(prefix.size(), line.find('"', prefix.size()) - prefix.size());
            const std::string folder = std::filesystem::path(header).parent_path().generic_string();
            if (!folder.empty() && folder != from) {
                graph[from].insert(folder);
            }
        }
    }
    return graph;
}

TEST(Layers, EveryIncludeOfTheSourcesGoesDownAndNoFoldersFormACycle) {
    const std::vector<std::string> faults = layerFaults(includesOfSources(SELVO_SOURCE_DIR "/src"));
    std::string all;
    for (const std::string& fault : faults) {
        all += fault + "\n";
    }
    EXPECT_TRUE(faults.empty()) << all;
}

TEST(Layers, AnUpwardIncludeACycleAndAnUndeclaredFolderAreEachReported) {
    EXPECT_EQ(layerFaults({{"scoring", {"text", "questionnaire"}}, {"app", {"scoring"}}}),
              std::vector<std::string>{});
    EXPECT_EQ(layerFaults({{"text", {"report"}}}),
              std::vector<std::string>{"text includes report, a higher layer"});
    EXPECT_EQ(layerFaults({{"report", {"datafiles"}}, {"datafiles", {"report"}}}),
              (std::vector<std::string>{"datafiles includes itself through other folders",
                                        "report includes itself through other folders"}));
    EXPECT_EQ(layerFaults({{"scoring", {"elsewhere"}}}),
              std::vector<std::string>{"folder elsewhere has no layer: add it to kLayers"});
}

} // namespace
