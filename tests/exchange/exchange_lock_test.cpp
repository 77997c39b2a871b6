#include "exchange_lock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "directory_snapshot.h"
#include "temp_dir.h"

namespace transzendal {
namespace {

namespace fs = std::filesystem;

// A run killed between creating and removing its write probe left the probe behind; the next
// command of any kind removes it and nothing else.
TEST(ExchangeLock, AProbeLeftByAKilledRunIsRemovedByTheNextCommandEvenAReadingOne) {
  testing::TempDir dir;
  const fs::path exchange = dir.path() / "ZTEMP";
  fs::create_directory(exchange);
  dir.Write("ZTEMP/SOLUC.DBF", "de Zendalor");
  dir.Write("ZTEMP/.transzendal-probe.bak", "ajeno");
  const testing::DirectorySnapshot before = testing::SnapshotDirectory(exchange);
  for (const ExchangeUse use : {ExchangeUse::kRead, ExchangeUse::kWrite}) {
    dir.Write("ZTEMP/.transzendal-probe", "");
    {
      // Gone as soon as the directory is open (Windows adds the lock's own file meanwhile).
      const ExchangeLock lock = OpenExchangeDirectory(exchange, use);
      EXPECT_FALSE(fs::exists(exchange / ".transzendal-probe"));
    }
    EXPECT_EQ(testing::SnapshotDirectory(exchange), before);
  }
}

}  // namespace
}  // namespace transzendal
