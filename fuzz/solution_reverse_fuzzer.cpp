// libFuzzer target for the reverse run: any bytes, as SOLUC.DBF beside valid tables, must end in a
// result file that reads back as a school file, or in a RunError with a message for the user and
// no result file; the tables and the chosen school file are never changed, and nothing is left
// behind; never a crash, a leak or a hang.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "forward_run.h"
#include "fuzz_support.h"
#include "reverse_run.h"
#include "run_error.h"
#include "school_reader.h"
#include "staged_table_set.h"

namespace {

namespace fs = std::filesystem;
using transzendal::fuzz::Broken;
using transzendal::fuzz::IsUtf8;
using transzendal::fuzz::Listing;
using transzendal::fuzz::ReadFile;

struct Setup {
  fs::path school;
  fs::path exchange;
  fs::path result;
  std::string school_bytes;
  std::vector<std::string> table_bytes;  // in kForwardRunTables order
};

fs::path TableFile(const fs::path& exchange, std::string_view table) {
  return exchange / (std::string(table) + ".DBF");
}

// The tables, made once by a forward run of the small school beside this target, as the timetable
// program finds them.
const Setup& TheSetup() {
  static const Setup setup = [] {
    const fs::path& folder = transzendal::fuzz::WorkFolder();
    Setup s{folder / "centro.xml", folder / "ZTEMP", folder / "ResultadoZendalcentro.xml", {}, {}};
    fs::create_directory(s.exchange);
    fs::copy_file(TRANSZENDAL_FUZZ_SCHOOL, s.school);
    transzendal::fuzz::ScriptedUi ui(s.school);
    transzendal::Session session;
    try {
      transzendal::RunForward(session, ui, {s.exchange, std::chrono::year{2026} / 1 / 15, '.'});
    } catch (const transzendal::RunError& error) {
      Broken(error.user_message());
    }
    if (!ui.finished()) Broken("the forward run of the fuzzing school did not complete");
    s.school_bytes = ReadFile(s.school);
    for (std::string_view table : transzendal::kForwardRunTables) {
      s.table_bytes.push_back(ReadFile(TableFile(s.exchange, table)));
    }
    return s;
  }();
  return setup;
}

void CheckUntouched(const Setup& setup) {
  if (ReadFile(setup.school) != setup.school_bytes) Broken("the chosen school file was changed");
  for (std::size_t i = 0; i < transzendal::kForwardRunTables.size(); ++i) {
    if (ReadFile(TableFile(setup.exchange, transzendal::kForwardRunTables[i])) !=
        setup.table_bytes[i]) {
      Broken("a table was changed");
    }
  }
  // The six tables and SOLUC: nothing was added to the exchange directory.
  if (Listing(setup.exchange).size() != transzendal::kForwardRunTables.size() + 1) {
    Broken("the exchange directory gained or lost a file");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TheSetup();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Setup& setup = TheSetup();
  fs::remove(setup.result);
  transzendal::fuzz::WriteFile(setup.exchange / "SOLUC.DBF",
                               std::string_view(reinterpret_cast<const char*>(data), size));

  transzendal::fuzz::ScriptedUi ui(setup.school);
  transzendal::Session session;
  try {
    if (transzendal::RunReverse(session, ui, {setup.exchange, size % 2 == 0 ? '.' : ','}) !=
        transzendal::RunOutcome::kCompleted) {
      Broken("the school file exists, yet the run ended as if it did not");
    }
    if (!ui.finished()) Broken("a completed run did not show its ending");
    if (!IsUtf8(ui.summary())) Broken("the summary is not UTF-8");
    try {
      transzendal::ReadSchoolFile(setup.result);
    } catch (const transzendal::RunError& error) {
      Broken(std::string("the result does not read back: ") + error.user_message());
    }
    // The school, the exchange directory and the result: no temporary file left beside them.
    if (Listing(setup.school.parent_path()).size() != 3)
      Broken("a file was left beside the result");
  } catch (const transzendal::RunError& error) {
    const std::string_view message = error.user_message();
    if (message.empty() || !IsUtf8(message)) Broken("an error message that can't be shown");
    if (Listing(setup.school.parent_path()).size() != 2) Broken("a failed run left a file");
  }
  CheckUntouched(setup);
  return 0;
}
