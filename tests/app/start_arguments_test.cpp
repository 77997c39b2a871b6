#include "start_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace transzendal::app {
namespace {

StartArguments Read(std::vector<std::string> args) { return ReadStartArguments(args); }

TEST(StartArguments, AnyOtherNumberOfArgumentsGivesAnOrdinaryIdleWindow) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"exportar"}, {"exportar", "1A2B", "otra"}, {"importar", "1A2B", "1", "2"}}) {
    const StartArguments start = Read(args);
    EXPECT_FALSE(start.two_arguments) << args.size();
    EXPECT_EQ(start.action, StartAction::kNone) << args.size();
    EXPECT_FALSE(start.host_window) << args.size();
    EXPECT_EQ(start.handle_error, "") << args.size();
  }
}

TEST(StartArguments, TheActionWordIgnoresLetterCase) {
  EXPECT_EQ(Read({"EXPORTAR", "1A2B"}).action, StartAction::kExport);
  EXPECT_EQ(Read({"exportar", "1A2B"}).action, StartAction::kExport);
  EXPECT_EQ(Read({"ImPoRtAr", "1A2B"}).action, StartAction::kImport);
}

TEST(StartArguments, AnUnknownActionWordStillEmbedsButStartsNothing) {
  for (const char* word : {"nada", "exportar ", "exportarr", "", "EXPORTÁR"}) {
    const StartArguments start = Read({word, "1A2B"});
    EXPECT_TRUE(start.two_arguments) << word;
    EXPECT_EQ(start.action, StartAction::kNone) << word;
    EXPECT_EQ(start.host_window, 0x1A2Bu) << word;
  }
}

TEST(StartArguments, TheHandleIsOneToSixteenHexadecimalDigitsOfEitherCase) {
  EXPECT_EQ(Read({"exportar", "1a2b"}).host_window, 0x1A2Bu);
  EXPECT_EQ(Read({"exportar", "0"}).host_window, 0u);
  EXPECT_EQ(Read({"exportar", "00000000000A0B1C"}).host_window, 0xA0B1Cu);
  EXPECT_EQ(Read({"exportar", "FFFFffffFFFFffff"}).host_window, 0xFFFFFFFFFFFFFFFFu);
}

TEST(StartArguments, AnUnconvertibleHandleIsReportedWithTheDollarPrefixAndTheActionStillRuns) {
  const StartArguments start = Read({"exportar", "XYZ"});
  EXPECT_TRUE(start.two_arguments);
  EXPECT_EQ(start.action, StartAction::kExport);
  EXPECT_FALSE(start.host_window);
  EXPECT_EQ(start.handle_error, "'$XYZ' is not a valid integer value");
}

TEST(StartArguments, PrefixesBlanksSignsAndOverlongHandlesAreRefused) {
  for (const char* handle : {"", "0x1A", "$1A", " 1A", "1A ", "-1A", "+1A", "1A2G",
                             "10000000000000000"}) {
    const StartArguments start = Read({"importar", handle});
    EXPECT_FALSE(start.host_window) << handle;
    EXPECT_EQ(start.handle_error, "'$" + std::string(handle) + "' is not a valid integer value");
  }
}

}  // namespace
}  // namespace transzendal::app
