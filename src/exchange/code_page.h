// The code page of the text in a dBase table, as its language driver names it, and the conversion
// of that text into the converter's own Windows-1252.
//
// Tables are read in Windows-1252 unless their driver names DOS code page 437 or 850; a driver this
// unit does not know is read as Windows-1252 too, and says so (`recognised` false).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace transzendal::dbf {

enum class CodePage { kWindows1252, kDos437, kDos850 };

struct LanguageDriver {
  CodePage code_page = CodePage::kWindows1252;
  bool recognised = false;  // false: no driver, or one not known here (read as Windows-1252)
};

// The driver named by byte 29 of the header (levels 3 to 5, FoxPro); 0 means none.
LanguageDriver DriverFromId(std::uint8_t id);

// The driver named at level 7 (`DBWINWE0`, `DB437US0`, ...); an empty name defers to the byte.
LanguageDriver DriverFromName(std::string_view name, std::uint8_t id);

// The text in Windows-1252; a character that code page lacks (DOS box drawing, say) becomes "?".
std::string ToWindows1252(std::string_view text, CodePage page);

// "Windows-1252", "DOS 437" or "DOS 850".
std::string_view CodePageName(CodePage page);

}  // namespace transzendal::dbf
