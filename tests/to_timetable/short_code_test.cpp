#include "short_code.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "text.h"

namespace transzendal {
namespace {

constexpr CodeVariant kSubjects{.cut_first = true, .register_before_shortening = false};
constexpr CodeVariant kTeachers{.cut_first = false, .register_before_shortening = false};
constexpr CodeVariant kGroups{.cut_first = false, .register_before_shortening = true};

// Codes given one after the other in one book, texts and codes in UTF-8 for readability.
std::vector<std::string> Codes(const std::vector<std::string>& texts, CodeVariant variant,
                               CodeBook* book_out = nullptr) {
  CodeBook local;
  CodeBook& book = book_out != nullptr ? *book_out : local;
  std::vector<std::string> codes;
  for (const auto& text : texts) {
    codes.push_back(Windows1252ToUtf8(ShortCode(Utf8ToWindows1252(text), book, variant)));
  }
  return codes;
}

std::vector<std::string> Numbered(std::string_view prefix, int from, int to) {
  std::vector<std::string> texts;
  for (int n = from; n <= to; ++n) texts.push_back(std::string(prefix) + std::to_string(n));
  return texts;
}

TEST(ShortCodeCutFirst, ClashesNumberTheCutStem) {
  EXPECT_EQ(Codes({"Matemáticas", "Matemáticas II", "Matemáticas III"}, kSubjects),
            (std::vector<std::string>{"Matemática", "Matemátic1", "Matemátic2"}));
}

TEST(ShortCodeCutFirst, TheClashTestIgnoresLetterCaseAndTheCodeKeepsIt) {
  EXPECT_EQ(Codes({"Matemáticas", "MATEMÁTICAS I"}, kSubjects),
            (std::vector<std::string>{"Matemática", "MATEMÁTIC1"}));
}

TEST(ShortCodeCutFirst, AShortCandidateKeepsEveryCharacterWhenNumbered) {
  EXPECT_EQ(Codes({"Fís", "Fís"}, kSubjects), (std::vector<std::string>{"Fís", "Fís1"}));
}

TEST(ShortCodeCutFirst, EmptyTextsGiveTheEmptyCodeThenNumbers) {
  EXPECT_EQ(Codes({"", "", ""}, kSubjects), (std::vector<std::string>{"", "1", "2"}));
}

TEST(ShortCodeCutFirst, TwelveTextsSharingTenCharactersGetTwelveCodes) {
  const auto codes = Codes(Numbered("Tecnología ", 1, 12), kSubjects);
  // The first eleven are the rule's own; the twelfth, which the rule would give Tecnolog10 again,
  // goes on numbering.
  EXPECT_EQ(codes, (std::vector<std::string>{"Tecnología", "Tecnologí1", "Tecnologí2", "Tecnologí3",
                                             "Tecnologí4", "Tecnologí5", "Tecnologí6", "Tecnologí7",
                                             "Tecnologí8", "Tecnologí9", "Tecnolog10", "Tecnolog11"}));
}

TEST(ShortCodeCutFirst, NumberingPast100KeepsEveryCodeDistinctAndShort) {
  CodeBook book;
  const auto codes = Codes(Numbered("Tecnología ", 1, 150), kSubjects, &book);
  EXPECT_EQ(codes[99], "Tecnolog99");
  EXPECT_EQ(codes[100], "Tecnolo100");
  EXPECT_EQ(codes[149], "Tecnolo149");
  std::set<std::string> distinct(codes.begin(), codes.end());
  EXPECT_EQ(distinct.size(), codes.size());
  for (const auto& code : codes) EXPECT_LE(Utf8ToWindows1252(code).size(), 10u) << code;
  EXPECT_TRUE(book.registry().Holds("tecnolo149"));
  EXPECT_FALSE(book.registry().Holds("Tecnolo150"));
}

TEST(ShortCodeCutFirst, ALongSeriesOfTwinsInTwoLetterCasesStaysDistinct) {
  std::vector<std::string> texts;
  for (int n = 0; n < 3000; ++n) texts.push_back((n % 2 ? "LENGUA CASTELLANA " : "Lengua castellana ") + std::to_string(n));
  const auto codes = Codes(texts, kSubjects);
  std::set<std::string> folded;
  for (const auto& code : codes) folded.insert(Windows1252ToUtf8(FoldCase(Utf8ToWindows1252(code))));
  EXPECT_EQ(folded.size(), codes.size());  // distinct even ignoring letter case, as the registry sees them
  EXPECT_EQ(codes[1], "LENGUA CA1");
  EXPECT_EQ(codes[2], "Lengua ca2");
  for (const auto& code : codes) EXPECT_LE(code.size(), 10u) << code;
}

TEST(ShortCodeCutFirst, ACutEndingInABlankIsRegisteredWithItsBlank) {
  CodeBook book;
  EXPECT_EQ(Codes({"Educación Física"}, kSubjects, &book), (std::vector<std::string>{"Educación "}));
  EXPECT_TRUE(book.registry().Holds(Utf8ToWindows1252("Educación ")));
  EXPECT_FALSE(book.registry().Holds(Utf8ToWindows1252("Educación")));
  EXPECT_TRUE(book.IsStored(Utf8ToWindows1252("Educación")));  // what the table gives back
}

TEST(ShortCodeCutFirst, CodesThatReadBackEqualAreNumberedOn) {
  // "Educación" is stored first; "Educación " would read back the same from its blank-padded field.
  const auto codes = Codes({"Educación", "Educación Física"}, kSubjects);
  EXPECT_EQ(codes[0], "Educación");
  EXPECT_EQ(codes[1], "Educació 1");
}

TEST(ShortCodeCutFirst, TheEleventhRoomOfASeriesIsShortenedWithItsTwoDigits) {
  const auto codes = Codes(Numbered("Laboratorio ", 1, 11), kSubjects);
  EXPECT_EQ(codes[0], "Laboratori");
  EXPECT_EQ(codes[1], "Laborator1");
  EXPECT_EQ(codes[9], "Laborator9");
  EXPECT_EQ(codes[10], "Laborato10");
}

TEST(ShortCodeWithoutCut, RepeatedShortNamesAreNumbered) {
  EXPECT_EQ(Codes({"JGL", "JGL", "JGL", "jgl"}, kTeachers),
            (std::vector<std::string>{"JGL", "JGL1", "JGL2", "jgl3"}));
  EXPECT_EQ(Codes({"JGL", "jgl"}, kTeachers), (std::vector<std::string>{"JGL", "jgl1"}));
}

TEST(ShortCodeWithoutCut, ATenCharacterNameLosesItsLastCharacterWhenNumbered) {
  EXPECT_EQ(Codes({"ABCDEFGHIJ", "ABCDEFGHIJ"}, kTeachers),
            (std::vector<std::string>{"ABCDEFGHIJ", "ABCDEFGHI1"}));
}

TEST(ShortCodeWithoutCut, ALongNameKeepsItsFirstEightAndLastTwoCharacters) {
  EXPECT_EQ(Codes({"MGARCIALOPEZ"}, kTeachers), (std::vector<std::string>{"MGARCIALEZ"}));
}

TEST(ShortCodeWithoutCut, LongNamesThatShortenAlikeStillGetDistinctCodes) {
  // The rule would give both MGARCIALEZ: the second is numbered on its whole name.
  EXPECT_EQ(Codes({"MGARCIALOPEZ", "MGARCIALAPEZ", "MGARCIALUPEZ"}, kTeachers),
            (std::vector<std::string>{"MGARCIALEZ", "MGARCIALZ1", "MGARCIALZ2"}));
}

TEST(ShortCodeRegisterBefore, GroupCodesNumberTheJoinedTexts) {
  EXPECT_EQ(Codes({"ESO1A", "ESO1A", "ESO1A", "eso1a"}, kGroups),
            (std::vector<std::string>{"ESO1A", "ESO1A1", "ESO1A2", "eso1a3"}));
  EXPECT_EQ(Codes({"CFGM-SMR1A", "CFGM-SMR1A"}, kGroups),
            (std::vector<std::string>{"CFGM-SMR1A", "CFGM-SMR11"}));
}

TEST(ShortCodeRegisterBefore, TheRegistryHoldsTheCodeBeforeItsShortening) {
  CodeBook book;
  EXPECT_EQ(Codes({"BACHILLER1A"}, kGroups, &book), (std::vector<std::string>{"BACHILLE1A"}));
  EXPECT_TRUE(book.registry().Holds("BACHILLER1A"));
  EXPECT_FALSE(book.registry().Holds("BACHILLE1A"));
  // BACHILLERATO1A is not held, but its shortening BACHILLE1A is stored: numbering goes on.
  EXPECT_EQ(Codes({"BACHILLERATO1A", "BACHILLERATO1A"}, kGroups, &book),
            (std::vector<std::string>{"BACHILLEA1", "BACHILLEA2"}));
}

TEST(ShortCodeRegisterBefore, ManyLongTwinsStayDistinct) {
  CodeBook book;
  std::vector<std::string> texts(150, "BACHILLERATO1A");
  const auto codes = Codes(texts, kGroups, &book);
  std::set<std::string> distinct(codes.begin(), codes.end());
  EXPECT_EQ(distinct.size(), codes.size());
  for (const auto& code : codes) EXPECT_LE(code.size(), 10u) << code;
}

}  // namespace
}  // namespace transzendal
