// One key of an INI file set in place, every other byte of the file kept: its other sections, keys
// and comments, their order, its line ends and its text coding. The desktop program writes its
// result into Zendalor.ini, a file that belongs to the timetable program, with it.
//
// Sections and keys are found as Windows finds them: names ignore ASCII letter case and the blanks
// around them, the first section and the first key of a name win, and lines that begin with ';'
// are comments. A missing key goes after the last non-blank line of its section; a missing section
// goes at the end of the file, after a blank line. Added lines end as the file's lines do (CR LF
// in a file that shows none).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace transzendal::app {

// Returns `content` (the bytes of an INI file) with `key` of `section` set to `value`.
std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value);

// Sets `key` of `section` to `value` in the INI file `path`, creating the file when it is missing:
// read, edited with SetIniValue, and written back in place in one write (then cut to its new
// length and flushed). On failure sets `error` (platform::HeldElsewhere() when another process
// holds the file) and leaves the file as it was.
void WriteIniValue(const std::filesystem::path& path, std::string_view section,
                   std::string_view key, std::string_view value, std::error_code& error);

}  // namespace transzendal::app
