#include "exchange_directory.h"

#include <gtest/gtest.h>

#include <map>

#include "temp_dir.h"

namespace transzendal {
namespace {

// The environment the resolution sees; each test sets its own.
std::map<std::string, std::string, std::less<>>& Environment() {
  static std::map<std::string, std::string, std::less<>> values;
  return values;
}

std::optional<std::string> Lookup(std::string_view name) {
  const auto it = Environment().find(name);
  if (it == Environment().end()) return std::nullopt;
  return it->second;
}

class ExchangeDirectory : public ::testing::Test {
 protected:
  void SetUp() override { Environment().clear(); }
  testing::TempDir dir_;
};

TEST_F(ExchangeDirectory, TheCommandLineWinsOverEverything) {
  Environment()["TRANSZENDAL_ZTEMP"] = "/otra";
  Environment()["WINEPREFIX"] = "/wine";
  EXPECT_EQ(ResolveExchangeDirectory(std::filesystem::path("/elegida"), Lookup), "/elegida");
}

TEST_F(ExchangeDirectory, ThenTheEnvironmentVariableWhenNotEmpty) {
  Environment()["TRANSZENDAL_ZTEMP"] = "/desde/entorno";
  EXPECT_EQ(ResolveExchangeDirectory(std::nullopt, Lookup), "/desde/entorno");
  Environment()["TRANSZENDAL_ZTEMP"] = "";
  Environment()["WINEPREFIX"] = "/wine";
#ifdef _WIN32
  EXPECT_EQ(ResolveExchangeDirectory(std::nullopt, Lookup), std::filesystem::path(L"C:\\ZTEMP"));
#else
  EXPECT_EQ(ResolveExchangeDirectory(std::nullopt, Lookup), "/wine/drive_c/ZTEMP");
#endif
}

#ifdef _WIN32
// Windows itself is where the timetable program keeps its exchange directory; a Wine prefix named
// in the environment is another program's business.
TEST_F(ExchangeDirectory, ElseZtempOnDriveC) {
  Environment()["HOME"] = "/home/ana";
  EXPECT_EQ(ResolveExchangeDirectory(std::nullopt, Lookup), std::filesystem::path(L"C:\\ZTEMP"));
}
#else

TEST_F(ExchangeDirectory, ElseZtempOnDriveCOfTheWinePrefix) {
  Environment()["HOME"] = "/home/ana";
  EXPECT_EQ(ResolveExchangeDirectory(std::nullopt, Lookup), "/home/ana/.wine/drive_c/ZTEMP");
}

TEST_F(ExchangeDirectory, AnExistingFolderSpelledInOtherLetterCaseIsTaken) {
  std::filesystem::create_directories(dir_.path() / "drive_c" / "ztemp");
  Environment()["WINEPREFIX"] = dir_.path().string();
  EXPECT_EQ(ResolveExchangeDirectory(std::nullopt, Lookup), dir_.path() / "drive_c" / "ztemp");
  std::filesystem::create_directories(dir_.path() / "drive_c" / "ZTEMP");
  EXPECT_EQ(ResolveExchangeDirectory(std::nullopt, Lookup), dir_.path() / "drive_c" / "ZTEMP");
}
#endif

}  // namespace
}  // namespace transzendal
