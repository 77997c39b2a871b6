#include "text.h"

#include <gtest/gtest.h>

namespace transzendal {
namespace {

TEST(Windows1252, SpanishLettersAndTheEuroSignConvertBothWays) {
  const std::string utf8 = "Educación Física: año, señal, €, “comillas”, Œuvre";
  const std::string cp1252 = Utf8ToWindows1252(utf8);
  EXPECT_EQ(cp1252, "Educaci\xF3n F\xEDsica: a\xF1o, se\xF1" "al, \x80, \x93" "comillas\x94, \x8Cuvre");
  EXPECT_EQ(Windows1252ToUtf8(cp1252), utf8);
}

TEST(Windows1252, CharactersTheCodePageLacksBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToWindows1252("Aula 漢字 ā"), "Aula ?? ?");
  EXPECT_EQ(Utf8ToWindows1252("emoji 😀!"), "emoji ?!");
}

TEST(Windows1252, MalformedUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToWindows1252("a\xC3"), "a?");          // truncated sequence
  EXPECT_EQ(Utf8ToWindows1252("a\xC0\xAF" "b"), "a?b");  // overlong "/"
  EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), "?");    // a surrogate
  EXPECT_EQ(Utf8ToWindows1252("\xFF" "x"), "?x");
}

TEST(RepairUtf8, KeepsWellFormedTextAndMakesEachMalformedSequenceAQuestionMark) {
  EXPECT_EQ(RepairUtf8("Física 漢字 😀 \xEF\xBF\xBD"), "Física 漢字 😀 \xEF\xBF\xBD");
  EXPECT_EQ(RepairUtf8("ÿÿ\xC3"), "ÿÿ?");                // a character cut short at the end
  EXPECT_EQ(RepairUtf8("a\xC3" "b"), "a?b");             // a continuation byte missing
  EXPECT_EQ(RepairUtf8("\x80" "a\xFF"), "?a?");          // stray bytes
  EXPECT_EQ(RepairUtf8("a\xC0\xAF" "b"), "a?b");         // overlong "/"
  EXPECT_EQ(RepairUtf8("\xED\xA0\x80"), "?");           // a surrogate
}

TEST(Windows1252, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEndsOnly) {
  EXPECT_EQ(Trim("\n\t  Física  y Química \r\n"), "Física  y Química");
  EXPECT_EQ(Trim(std::string_view("\x01\x1F x \x7F", 6)), "x \x7F");  // 127 is no control here
  EXPECT_EQ(Trim(" \t\n"), "");
  EXPECT_EQ(Trim(""), "");
}

TEST(TrimTrailingBlanks, KeepsLeadingBlanksAndOtherControls) {
  EXPECT_EQ(TrimTrailingBlanks("  Educación   "), "  Educación");
  EXPECT_EQ(TrimTrailingBlanks("x\t "), "x\t");
}

TEST(Left, CutsAtByteCount) {
  EXPECT_EQ(Left(Utf8ToWindows1252("Matemáticas"), 10), Utf8ToWindows1252("Matemática"));
  EXPECT_EQ(Left("Fís", 10), "Fís");
}

TEST(LowerAscii, LowersAsciiCapitalsOnlyAndKeepsUtf8Whole) {
  EXPECT_EQ(LowerAscii("EXPORTAR ImPoRtAr 1A2B"), "exportar importar 1a2b");
  EXPECT_EQ(LowerAscii("ÁRBOL Ñandú"), "Árbol Ñandú");  // multi-byte sequences untouched
}

TEST(FoldCase, IgnoresLetterCaseAccentedCapitalsIncludedAndRespectsAccents) {
  const auto w = [](std::string_view utf8) { return Utf8ToWindows1252(utf8); };
  EXPECT_TRUE(EqualIgnoringCase(w("FÍSICA"), w("física")));
  EXPECT_TRUE(EqualIgnoringCase(w("ÁÉÍÓÚÑÜÇ"), w("áéíóúñüç")));
  EXPECT_TRUE(EqualIgnoringCase(w("ŠŽŒŸ"), w("šžœÿ")));
  EXPECT_FALSE(EqualIgnoringCase(w("a"), w("á")));
  EXPECT_FALSE(EqualIgnoringCase(w("Á"), w("a")));
  EXPECT_FALSE(EqualIgnoringCase(w("×"), w("÷")));  // signs, not letters
  EXPECT_FALSE(EqualIgnoringCase("abc", "abcd"));
  EXPECT_EQ(FoldCase(w("MATEMÁTICAS II")), w("matemáticas ii"));
}

}  // namespace
}  // namespace transzendal
