// libFuzzer target for the school reader and the forward run: any bytes, as a school file, must end
// in the six tables or in a RunError with a message for the user, and the exchange directory must
// hold the complete new set or be left as it was (here: empty); never a crash, a leak or a hang.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "forward_run.h"
#include "fuzz_support.h"
#include "run_error.h"
#include "staged_table_set.h"

namespace {

namespace fs = std::filesystem;
using transzendal::fuzz::Broken;
using transzendal::fuzz::IsUtf8;
using transzendal::fuzz::Listing;

// The exchange directory as a completed run leaves it: the six tables and nothing else.
bool HoldsOnlyTables(const fs::path& exchange) {
  for (const std::string& name : Listing(exchange)) {
    bool table = false;
    for (std::string_view t : transzendal::kForwardRunTables) {
      table = table || name == std::string(t) + ".DBF";
    }
    if (!table) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path& folder = transzendal::fuzz::WorkFolder();
  const fs::path school = folder / "centro.xml";
  const fs::path exchange = folder / "ZTEMP";
  fs::remove_all(exchange);
  fs::create_directory(exchange);
  transzendal::fuzz::WriteFile(school, std::string_view(reinterpret_cast<const char*>(data), size));

  // The length picks the answers that the file itself can't: one frame or two, and the separator.
  transzendal::fuzz::ScriptedUi ui(school, size % 2 == 0);
  transzendal::Session session;
  transzendal::ForwardRunSettings settings{.exchange_directory = exchange,
                                           .today = std::chrono::year{2026} / 1 / 15,
                                           .decimal_separator = size % 4 < 2 ? '.' : ','};
  try {
    if (transzendal::RunForward(session, ui, settings) != transzendal::RunOutcome::kCompleted) {
      Broken("the school file exists, yet the run ended as if it did not");
    }
    if (!ui.finished()) Broken("a completed run did not show its ending");
    if (!IsUtf8(ui.summary())) Broken("the summary is not UTF-8");
    if (!HoldsOnlyTables(exchange)) Broken("a completed run left more than the tables");
  } catch (const transzendal::RunError& error) {
    const std::string_view message = error.user_message();
    if (message.empty() || !IsUtf8(message)) Broken("an error message that can't be shown");
    if (!Listing(exchange).empty()) Broken("a failed run left files in the exchange directory");
  }
  return 0;
}
