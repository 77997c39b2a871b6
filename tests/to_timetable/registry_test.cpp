#include "registry.h"

#include <gtest/gtest.h>

#include "text.h"

namespace transzendal {
namespace {

TEST(Registry, MembershipIgnoresLetterCaseAndRespectsAccents) {
  Registry registry;
  registry.Add(Utf8ToWindows1252("Física"));
  EXPECT_TRUE(registry.Holds(Utf8ToWindows1252("FÍSICA")));
  EXPECT_TRUE(registry.Holds(Utf8ToWindows1252("física")));
  EXPECT_FALSE(registry.Holds("Fisica"));
  EXPECT_FALSE(registry.Holds(Utf8ToWindows1252("Física ")));
  EXPECT_FALSE(registry.Holds(""));
}

TEST(Registry, KeepsEveryEntryInInsertionOrder) {
  Registry registry;
  registry.Add("Lengua");
  registry.Add("");
  registry.Add("LENGUA");
  EXPECT_TRUE(registry.Holds(""));
  EXPECT_EQ(registry.entries(), (std::vector<std::string>{"Lengua", "", "LENGUA"}));
}

}  // namespace
}  // namespace transzendal
