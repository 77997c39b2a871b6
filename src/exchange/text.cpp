#include "text.h"

#include <array>
#include <cstdint>

namespace transzendal {
namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char ByteOf(char32_t code_point) { return Windows1252Byte(code_point).value_or('?'); }

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `text[i]`, advancing `i`; returns U+FFFD for a malformed one
// (overlong forms, surrogates and truncated sequences included).
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1Fu, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0Fu, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07u, minimum = 0x10000;
  } else {
    return 0xFFFD;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return 0xFFFD;
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (next & 0x3Fu);
    ++i;
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
  return cp;
}

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (std::size_t b = 0; b < table.size(); ++b) table[b] = static_cast<unsigned char>(b);
  for (std::size_t b = 'A'; b <= 'Z'; ++b) table[b] = static_cast<unsigned char>(b + 0x20);
  for (std::size_t b = 0xC0; b <= 0xDE; ++b) {
    if (b != 0xD7) table[b] = static_cast<unsigned char>(b + 0x20);  // 0xD7 is the sign ×
  }
  table[0x8A] = 0x9A;  // Š
  table[0x8C] = 0x9C;  // Œ
  table[0x8E] = 0x9E;  // Ž
  table[0x9F] = 0xFF;  // Ÿ
  return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

char Fold(char c) { return static_cast<char>(kFold[static_cast<unsigned char>(c)]); }

}  // namespace

char32_t Windows1252CodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80u];
  return byte;
}

std::optional<char> Windows1252Byte(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<char>(code_point);
  }
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == code_point) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

void AppendUtf8AsWindows1252(std::string_view utf8, std::string& out) {
  for (std::size_t i = 0; i < utf8.size();) {
    // Runs of ASCII, the bulk of every school file, are copied whole.
    std::size_t ascii_end = i;
    while (ascii_end < utf8.size() && static_cast<unsigned char>(utf8[ascii_end]) < 0x80) ++ascii_end;
    out.append(utf8.substr(i, ascii_end - i));
    i = ascii_end;
    if (i < utf8.size()) out += ByteOf(DecodeUtf8(utf8, i));
  }
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AppendUtf8AsWindows1252(utf8, out);
  return out;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) AppendUtf8(Windows1252CodePoint(static_cast<unsigned char>(c)), out);
  return out;
}

std::string RepairUtf8(std::string_view text) {
  constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // well-formed U+FFFD
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const char32_t code_point = DecodeUtf8(text, i);
    const std::string_view sequence = text.substr(start, i - start);
    if (code_point != 0xFFFD || sequence == kReplacementCharacter) {
      out += sequence;
    } else {
      out += '?';
    }
  }
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view Left(std::string_view text, std::size_t count) { return text.substr(0, count); }

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string FoldCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Fold(c);
  return out;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

}  // namespace transzendal
