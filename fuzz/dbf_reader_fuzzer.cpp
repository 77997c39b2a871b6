// libFuzzer target for the dBase reader: any bytes, as a table file, must end in a dump or a
// RunError; never a crash, a hang or a read outside the file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "exchange_table.h"
#include "run_error.h"
#include "table_dump.h"

namespace {

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    std::random_device seed;
    const auto path =
        std::filesystem::temp_directory_path() / ("transzendal-fuzz-" + std::to_string(seed()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

void ReadEverything(const std::filesystem::path& folder) {
  using transzendal::DumpFormat;
  transzendal::DumpTable(folder, "FUZZ", DumpFormat::kCsv);
  transzendal::DumpTable(folder, "FUZZ", DumpFormat::kSummary);
  transzendal::ExchangeTable table =
      transzendal::ExchangeTable::Open(folder, "FUZZ", transzendal::TableAccess::kRead, ',');
  const auto& fields = table.structure().fields;
  if (fields.empty() || fields.front().hidden) return;
  const std::string first = table.ReadTextAt(0);
  table.Locate(fields.front().name, {first});
  for (const auto& field : fields) {
    if (field.hidden) continue;
    try {
      table.ReadInteger(field.name);
    } catch (const transzendal::RunError&) {
      // a field that holds no integer: expected for many inputs
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path& folder = Folder();
  {
    std::ofstream out(folder / "FUZZ.DBF", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  try {
    ReadEverything(folder);
  } catch (const transzendal::RunError&) {
    // a damaged file, reported: what the reader must do
  }
  return 0;
}
