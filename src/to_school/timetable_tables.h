// The seven tables of the reverse run, held for exclusive use from their opening to their closing,
// so that the timetable program can't change them meanwhile. The run only reads them. A
// TimetableTables owns its open tables and closes them in the order of opening however it ends.
#pragma once

#include <filesystem>
#include <vector>

#include "exchange_table.h"

namespace transzendal {

class TimetableTables {
 public:
  // Opens SOLUC, GRUPOST, PROFT, AULAT, ASIGNOMT, DIASHORAST and ASIGT, in this order, in
  // `directory` (each file found whatever the letter case of its name), with `decimal_separator`
  // for numbers read as text, and checks that SOLUC, AULAT, DIASHORAST and ASIGT hold the fields
  // the run reads. Throws RunError naming the first table that is missing, held by another
  // program, damaged or lacking a field; the tables opened before it are closed again.
  static TimetableTables Open(const std::filesystem::path& directory, char decimal_separator);

  TimetableTables(TimetableTables&&) noexcept = default;
  TimetableTables& operator=(TimetableTables&&) = delete;
  TimetableTables(const TimetableTables&) = delete;
  TimetableTables& operator=(const TimetableTables&) = delete;
  // Closes every table still open, in the order of opening, ignoring failures.
  ~TimetableTables();

  ExchangeTable& solved();       // SOLUC, the timetable program's solution
  ExchangeTable& rooms();        // AULAT
  ExchangeTable& frames();       // DIASHORAST
  ExchangeTable& assignments();  // ASIGT

  // Closes the seven tables in the order of opening; throws RunError when one can't be closed.
  void Close();

 private:
  TimetableTables() = default;
  std::vector<ExchangeTable> tables_;  // in the order of opening
};

}  // namespace transzendal
