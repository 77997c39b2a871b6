// The one error type of the runs.
//
// A RunError carries the text the user is shown (UTF-8, Spanish or one of the framework messages
// kept in English) and, for logs and tests, where it happened. Runs raise it and never catch it;
// only the user-interface boundary (the window, the command-line tool) reports it.
#pragma once

#include <stdexcept>
#include <string>

namespace transzendal {

// Where an error happened; every part is optional (empty when unknown).
struct ErrorContext {
  std::string file;
  std::string table;
  std::string record;
  std::string field;
};

class RunError : public std::runtime_error {
 public:
  explicit RunError(const std::string& user_message, ErrorContext context = {});

  // The text to show the user, exactly; what() returns the same.
  const char* user_message() const noexcept { return what(); }
  const ErrorContext& context() const noexcept { return context_; }

 private:
  ErrorContext context_;
};

}  // namespace transzendal
