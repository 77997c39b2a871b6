#include "table_command.h"

#include "cli.h"
#include "exchange_directory.h"
#include "exchange_lock.h"
#include "table_dump.h"

namespace transzendal::cli {

int PrintTable(const CommandLine& line, Console& console) {
  // The one place where tabla resolves and opens its exchange directory: opening it finishes an
  // interrupted replacement first, so the table printed belongs to a complete set.
  const ExchangeLock lock =
      OpenExchangeDirectory(ResolveExchangeDirectory(line.directory), ExchangeUse::kRead);
  const DumpFormat format =
      line.format == TableFormat::kCsv ? DumpFormat::kCsv : DumpFormat::kSummary;
  console.Out(DumpTable(lock.directory(), line.table_name, format));
  return kExitCompleted;
}

}  // namespace transzendal::cli
