// The journal of one replacement of exchange tables: the small file whose presence in the exchange
// directory says that the staged set of new tables counts, and which names the tables it replaces.
// Its byte format lives here and in replacement_journal.cpp only:
//
//   transzendal-journal 1        the format and its version
//   ASIGNOMT                     one line per table replaced (A-Z, 0-9 and "_", 1 to 32 characters)
//   end 1 0eb891d0               the count of table lines, then the FNV-1a checksum (8 lower-case
//                                hexadecimal digits) of every byte before this line
//
// Every line ends in "\n", the last one included, so a cut file is never taken for a complete one.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace transzendal {

// The journal's bytes for `tables`, valid table names in the order to replace them.
std::string EncodeReplacementJournal(std::span<const std::string> tables);

// The table names of the journal `bytes`, read from `file`; throws RunError naming the file and
// what is wrong when the bytes are not one complete journal of this version (never a guess).
std::vector<std::string> DecodeReplacementJournal(std::string_view bytes,
                                                  const std::filesystem::path& file);

}  // namespace transzendal
