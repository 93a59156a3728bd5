// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InterruptedSets.h"
#include "platform/ReadFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <map>
#include <mutex>
#include <set>
#include <string_view>

namespace selvo {
namespace {

constexpr std::string_view kTemporaryPrefix = ".selvo-";
constexpr std::string_view kRecordPrefix = ".selvo-rinomine-";
constexpr std::string_view kRecordHeader = "selvo-rinomine 1\n";
constexpr std::string_view kRecordEnd = "fine\n";
constexpr std::size_t kLargestRecord = 4 * 1024 * 1024;

// A record names its temporary after the one it was written as: ".selvo-rinomine-" and the
// same letters.
bool isRecordName(std::string_view name) {
    return name.starts_with(kRecordPrefix) &&
           platform::isTemporaryName(std::string(kTemporaryPrefix) +
                                     std::string(name.substr(kRecordPrefix.size())));
}

// A name goes on a line of fields separated by '/', which no file name holds; control bytes
// and '%' are written as %XX.
std::string escaped(std::string_view name) {
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            constexpr char kHex[] = "0123456789ABCDEF";
            text += '%';
            text += kHex[byte >> 4];
            text += kHex[byte & 0xF];
        } else {
            text += c;
        }
    }
    return text;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size() ||
            std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16).ptr !=
                text.data() + i + 3) {
            return std::nullopt;
        }
        name += static_cast<char>(value);
        i += 2;
    }
    // Only a plain name in the record's own folder is ever renamed.
    const bool plain = !name.empty() && name != "." && name != ".." &&
                       std::none_of(name.begin(), name.end(), platform::isSeparator);
    return plain ? std::optional(name) : std::nullopt;
}

template <class Number> std::optional<Number> number(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// A rename a record lists.
struct LeftRename {
    unsigned mode = 0;
    FileIdentity identity;
    std::string temp;
    std::string target;
};

std::optional<LeftRename> parseLine(std::string_view line) {
    std::vector<std::string_view> fields;
    while (fields.size() < 5) {
        const std::size_t slash = line.find('/');
        fields.push_back(line.substr(0, slash));
        if (slash == std::string_view::npos) {
            break;
        }
        line.remove_prefix(slash + 1);
    }
    if (fields.size() != 5 || fields[4].size() != line.size()) {
        return std::nullopt;
    }
    const auto mode = number<unsigned>(fields[0]);
    const auto device = number<std::uint64_t>(fields[1]);
    const auto node = number<std::uint64_t>(fields[2]);
    auto temp = unescaped(fields[3]);
    auto target = unescaped(fields[4]);
    if (!mode || !device || !node || !temp || !target || !platform::isTemporaryName(*temp)) {
        return std::nullopt;
    }
    return LeftRename{*mode, {*device, *node}, std::move(*temp), std::move(*target)};
}

// A record cut short was being written when its run ended, before any rename: it lists
// nothing to finish.
std::vector<LeftRename> parseRecord(std::string_view text) {
    std::vector<LeftRename> renames;
    if (!text.starts_with(kRecordHeader) || !text.ends_with(kRecordEnd)) {
        return renames;
    }
    text =
        text.substr(kRecordHeader.size(), text.size() - kRecordHeader.size() - kRecordEnd.size());
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            return {};
        }
        auto rename = parseLine(text.substr(0, end));
        if (!rename) {
            return {};
        }
        renames.push_back(std::move(*rename));
        text.remove_prefix(end + 1);
    }
    return renames;
}

// Makes the renames a record lists whose temporaries are still there. A temporary is the one
// recorded only if it is the same file: a later temporary may have taken its name once the
// first had been renamed.
void finishRecord(const std::string& folder, const std::string& record) {
    const FileResult<std::string> read = readWholeFile(record, kLargestRecord);
    bool moved = false;
    for (const LeftRename& left :
         read.ok() ? parseRecord(read.value()) : std::vector<LeftRename>{}) {
        platform::Temporary temp;
        temp.path = platform::joinPath(folder, left.temp);
        temp.mode = left.mode;
        if (platform::kindOf(temp.path) != platform::Kind::Regular ||
            platform::identity(temp.path) != left.identity) {
            continue;
        }
        moved =
            platform::moveIntoPlace(temp, platform::joinPath(folder, left.target)) == 0 || moved;
    }
    if (moved) {
        platform::flushFolder(folder);
    }
    platform::removeFile(record);
}

// With the folder locked, no living run has a record in it: each is finished. Temporaries are
// removed only where no other process claims the folder, since a living run's are not yet
// recorded anywhere.
void completeInterrupted(const std::string& folder) {
    for (const std::string& record : platform::ownFilesIn(folder, isRecordName)) {
        finishRecord(folder, record);
    }
    if (platform::otherClaims(folder) == 0) {
        for (const std::string& temp : platform::temporariesIn(folder)) {
            platform::removeFile(temp);
        }
    }
}

// The process's entries into folders, by folder: the claim is held while any set of it has
// temporaries there. Both the run's thread and the thread committing a group enter and leave.
struct Presence {
    std::size_t sets = 0;
    platform::LockHandle claim;
};
std::mutex g_mutex;
std::map<std::string, Presence> g_present;
std::set<std::string> g_completed; // folders already completed by this process

// One key for every spelling of a folder that differs only by a final separator.
std::string keyOf(const std::string& folder) {
    std::string key = folder;
    while (key.size() > 1 && platform::isSeparator(key.back()) && key[key.size() - 2] != ':') {
        key.pop_back();
    }
    return key;
}

} // namespace

std::string wholeFolder(const std::string& folder) {
    std::filesystem::path whole =
        pathFromUtf8(absolutePath(folder.empty() ? "." : folder)).lexically_normal();
    if (!whole.has_filename() && whole != whole.root_path()) {
        whole = whole.parent_path(); // "/study/out/" is shown as "/study/out"
    }
    return utf8Of(whole);
}

std::optional<FolderEntry> FolderEntry::enter(const std::string& folder, const FolderWait& wait) {
    const std::string key = keyOf(folder);
    {
        const std::lock_guard<std::mutex> hold(g_mutex);
        if (const auto present = g_present.find(key); present != g_present.end()) {
            ++present->second.sets;
            return FolderEntry(key);
        }
    }
    // Claims are taken, and records finished, only under the folder lock: a run that holds
    // it may be making the renames its record lists, or looking for others' claims.
    FolderLock::Attempt attempt = FolderLock::take(wholeFolder(folder), wait);
    if (attempt.busy) {
        return std::nullopt;
    }
    const std::lock_guard<std::mutex> hold(g_mutex);
    Presence& presence = g_present[key];
    if (presence.sets++ == 0 && attempt.lock) {
        if (g_completed.insert(key).second) {
            completeInterrupted(key);
        }
        // A folder that cannot be claimed is written all the same, as before claims.
        platform::claimFolder(key, presence.claim);
    }
    return FolderEntry(key);
}

FolderEntry::FolderEntry(FolderEntry&& other) noexcept
    : m_key(std::move(other.m_key)), m_held(std::exchange(other.m_held, false)) {}

FolderEntry& FolderEntry::operator=(FolderEntry&& other) noexcept {
    if (this != &other) {
        FolderEntry gone(std::move(*this));
        m_key = std::move(other.m_key);
        m_held = std::exchange(other.m_held, false);
    }
    return *this;
}

FolderEntry::~FolderEntry() {
    if (!m_held) {
        return;
    }
    const std::lock_guard<std::mutex> hold(g_mutex);
    const auto present = g_present.find(m_key);
    if (present != g_present.end() && --present->second.sets == 0) {
        platform::releaseFolderClaim(m_key, present->second.claim);
        g_present.erase(present);
    }
}

RenameRecord writeRenameRecord(const std::string& folder,
                               const std::vector<PlannedRename>& renames) {
    std::string text(kRecordHeader);
    for (const PlannedRename& rename : renames) {
        text += std::to_string(rename.temp->mode) + "/" +
                std::to_string(rename.temp->identity.device) + "/" +
                std::to_string(rename.temp->identity.node) + "/" +
                escaped(platform::nameOf(rename.temp->path)) + "/" +
                escaped(platform::nameOf(rename.target)) + "\n";
    }
    text += kRecordEnd;
    // Written whole and flushed as a temporary, then named as a record: a record is never
    // found half written. Its name is new: a record left by another run keeps its own.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const platform::Temporary temp =
            platform::writeTemporary(platform::joinPath(folder, "record"), text);
        if (temp.error != 0) {
            return {{}, temp.error};
        }
        const std::string path = platform::folderOf(temp.path) + std::string(kRecordPrefix) +
                                 platform::nameOf(temp.path).substr(kTemporaryPrefix.size());
        const int error = platform::renameNoReplace(temp.path, path);
        if (error == 0) {
            if (const int unflushed = platform::flushFolder(folder); unflushed != 0) {
                platform::removeFile(path);
                return {{}, unflushed};
            }
            return {path, 0};
        }
        platform::removeFile(temp.path);
        if (error != EEXIST) {
            return {{}, error};
        }
    }
    return {{}, EEXIST};
}

void completeInterruptedCommits(const std::string& folder, const FolderWait& wait) {
    FolderEntry::enter(folder, wait);
}

} // namespace selvo
