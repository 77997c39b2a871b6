// Text as the converter handles it.
//
// School data travels inside the converter as single-byte Windows-1252 strings, the code page of the
// timetable program's tables: lengths, cuts and comparisons count bytes. Texts meant for the user
// (messages, paths, the summary) are UTF-8; the conversions below are the only bridge between the two.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace transzendal {

// Converts UTF-8 to Windows-1252. A character that the code page lacks, and any byte that is not
// valid UTF-8, becomes "?".
std::string Utf8ToWindows1252(std::string_view utf8);

// The same, appending the converted text to `out`.
void AppendUtf8AsWindows1252(std::string_view utf8, std::string& out);

// Converts Windows-1252 to UTF-8. Every byte has a character (the five unassigned positions keep
// their C1 control code points, as Windows does), so the conversion round-trips.
std::string Windows1252ToUtf8(std::string_view text);

// `text` as well-formed UTF-8: every malformed sequence (a stray byte, a sequence cut short, an
// overlong form, a surrogate) becomes "?" and the rest is kept. For texts from other libraries
// that may cut a character in two, such as libxml2's messages, before they are shown.
std::string RepairUtf8(std::string_view text);

// The Unicode code point of one Windows-1252 byte, and the byte of a code point (nothing when the
// code page lacks it): the character map behind the conversions above.
char32_t Windows1252CodePoint(unsigned char byte);
std::optional<char> Windows1252Byte(char32_t code_point);

// Removes leading and trailing characters whose code is 32 or less (blanks and control characters).
std::string_view Trim(std::string_view text);

// Removes trailing blanks only: what a blank-padded table field gives back.
std::string_view TrimTrailingBlanks(std::string_view text);

// The first `count` bytes of `text` (all of it when shorter).
std::string_view Left(std::string_view text, std::size_t count);

// `text` with its ASCII capitals made small and every other byte as it was: safe on UTF-8, for
// words and names that are compared ignoring ASCII letter case only.
std::string LowerAscii(std::string_view text);

// Lower-case form of a Windows-1252 text: ASCII and accented capitals (Á, Ñ, Š, Ÿ, ...) become their
// small letters; accents are kept, so "Á" folds to "á" and never to "a".
std::string FoldCase(std::string_view text);

// True when both texts are equal ignoring letter case and respecting accents (FoldCase).
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace transzendal
