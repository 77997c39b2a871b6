// transzendal-cli: the converter for batch use.
#include <string>
#include <vector>

#include "cli.h"

#ifdef _WIN32
#include "platform.h"

// Windows hands the arguments over in UTF-16, whatever the console's code page: names with accents
// arrive whole, and go on as UTF-8 like everywhere else.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(transzendal::platform::PathToUtf8(argv[i]));
  transzendal::cli::StandardConsole console;
  return transzendal::cli::RunCommandLine(args, console);
}
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  transzendal::cli::StandardConsole console;
  return transzendal::cli::RunCommandLine(args, console);
}
#endif
