// A console for tests of the command-line tool: it keeps what was printed on each stream and
// answers questions from prepared lines, as a person at a terminal would when `interactive`.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "console_ui.h"

namespace transzendal::cli::testing {

struct CapturingConsole final : Console {
  std::string out;
  std::string err;
  bool interactive = false;
  std::deque<std::string> answers;

  void Out(std::string_view utf8) override { out += utf8; }
  void Err(std::string_view utf8) override { err += utf8; }
  bool IsInteractive() override { return interactive; }
  std::optional<std::string> ReadLine() override {
    if (answers.empty()) return std::nullopt;
    std::string line = answers.front();
    answers.pop_front();
    return line;
  }
};

}  // namespace transzendal::cli::testing
