// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The names of a subject's three files, and what a surname or name may hold to be part of
// them. The writers, the batch's plan, the stale-set check and the run summary all name the
// files through these.
#include "questionnaire/Subject.h"
#include "text/WindowsNames.h"

#include <optional>
#include <string>
#include <string_view>

namespace selvo {

inline std::string SubjectDataFileName(const SubjectRecord& subject) {
    return "SELVO_" + subject.surname + "_" + subject.name + ".csv";
}

inline std::string SubjectReportFileName(const SubjectRecord& subject) {
    return "SELVO_" + subject.surname + "_" + subject.name + "_report.rtf";
}

inline std::string SubjectCommandFileName(const SubjectRecord& subject) {
    return "SELVO_SS000_" + subject.surname + "_" + subject.name + "_sps.sps";
}

// The profile chart's picture, offered when the operator saves it.
inline std::string SubjectProfileImageName(const SubjectRecord& subject) {
    return "SELVO_" + subject.surname + "_" + subject.name + "_profilo.png";
}

// What a name part of a file name may not hold. On every system the folder separator leads
// out of the folder; a NUL cuts the name short where the system reads it. Windows refuses the
// others too, and takes "\" for a separator as well. The subject form refuses every one of
// them (Portable; a NUL there is a control character, which its own check words better); the
// writers refuse only what no system could hold (Minimal), for a state that did not pass it.
enum class NamePartRule { Minimal, Portable };

inline constexpr char kFolderSeparator = '/';

constexpr bool refusedInNamePart(char c, NamePartRule rule) {
    if (c == kFolderSeparator) {
        return true;
    }
    return rule == NamePartRule::Minimal ? c == '\0'
                                         : kRefusedByWindows.find(c) != std::string_view::npos;
}

// The first character of the part that cannot be in a file name, if any.
constexpr std::optional<char> refusedNamePartCharacter(std::string_view part, NamePartRule rule) {
    for (const char c : part) {
        if (refusedInNamePart(c, rule)) {
            return c;
        }
    }
    return std::nullopt;
}

} // namespace selvo
