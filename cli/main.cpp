// transzendal-cli: the converter for batch use.
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  transzendal::cli::StandardConsole console;
  return transzendal::cli::RunCommandLine(args, console);
}
