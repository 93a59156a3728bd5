// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The few RTF pieces the report is made of, and the escaping that lets any text through them.
#include <string>
#include <string_view>

namespace selvo {

inline constexpr std::string_view kPar = "\\par ";
inline constexpr std::string_view kPage = "\\page ";
inline constexpr std::string_view kTab = "\t";
inline constexpr std::string_view kRule =
    "_______________________________________________________________________________";

// "{\b " text "}"; the text must already be RTF.
std::string bold(std::string_view rtf);
// The same at the end of `out`, for text built piece by piece.
void appendBold(std::string& out, std::string_view rtf);

// One paragraph at the end of `out`: the RTF and its paragraph mark; the bold one likewise.
void addParagraph(std::string& out, std::string_view rtf);
void addBoldParagraph(std::string& out, std::string_view rtf);

// Plain UTF-8 text as RTF: backslash and braces escaped, each line break (CR LF, LF or CR) as
// "\line ", a tab as "\tab ", each character outside code page 1252 as "\uN?" per UTF-16 unit
// (N signed 16-bit). Every other control character (C0, DEL, C1) is left out: none reaches the
// file raw. Characters of code page 1252 stay as they are, so ordinary text comes out unchanged.
std::string rtfText(std::string_view utf8);
// The same at the end of `out`.
void appendRtfText(std::string& out, std::string_view utf8);

// Whether the Unicode character has a single-byte place in code page 1252.
bool inCp1252(char32_t codePoint);

} // namespace selvo
