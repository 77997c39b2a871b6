// A table as people and tests look into it (the tabla command): its records as CSV, or a summary
// of its structure. Both are UTF-8 texts built from what an ExchangeTable reads.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "exchange_table.h"

namespace transzendal {

enum class DumpFormat { kCsv, kSummary };

// The table as CSV by RFC 4180 (CRLF line ends, fields quoted when they hold a comma, a quote or a
// line break): a line of field names, then one line per record not flagged deleted, in stored
// order. Text without its padding, numbers in shortest form with a point, booleans T or F, dates
// YYYY-MM-DD, nulls and memo fields empty. Moves the table to its end; `table` should be opened
// with '.' as decimal separator.
std::string TableAsCsv(ExchangeTable& table);

// The file, its dBase level and version byte, code page and language driver, date of last update,
// record count and each field's name, type, width and decimals.
std::string TableSummary(const ExchangeTable& table);

// Opens the table `name` of `directory` for reading only (found whatever the letter case of its
// file name, with or without ".DBF") and returns it in `format`. Throws RunError when the table
// does not exist, is held elsewhere, or its file is damaged.
std::string DumpTable(const std::filesystem::path& directory, std::string_view name,
                      DumpFormat format);

}  // namespace transzendal
