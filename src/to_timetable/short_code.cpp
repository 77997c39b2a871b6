#include "short_code.h"

#include "text.h"

namespace transzendal {
namespace {

constexpr std::size_t kCodeWidth = 10;

std::string ShortenTo10(std::string_view candidate) {
  if (candidate.size() <= kCodeWidth) return std::string(candidate);
  return std::string(candidate.substr(0, 8)) + std::string(candidate.substr(candidate.size() - 2));
}

// The shortening of the numbering that keeps codes unique: 8 + 2 below 100, and from 100 on the
// stem's first 10 - d characters followed by all d digits, so that every number gives a new code.
std::string ShortenNumbered(std::string_view stem, int number) {
  const std::string digits = std::to_string(number);
  const std::string candidate = std::string(stem) + digits;
  if (candidate.size() <= kCodeWidth || number < 100) return ShortenTo10(candidate);
  return std::string(stem.substr(0, kCodeWidth - digits.size())) + digits;
}

}  // namespace

// Stored codes compare as the registry compares texts, ignoring letter case, so that no two rows
// receive codes that only letter case tells apart.
bool CodeBook::IsStored(std::string_view code) const {
  return stored_.contains(FoldCase(TrimTrailingBlanks(code)));
}

void CodeBook::Store(std::string_view code) { stored_.insert(FoldCase(TrimTrailingBlanks(code))); }

int CodeBook::FirstFreeNumber(const std::string& stem) {
  int& start = free_from_.try_emplace(FoldCase(stem), 1).first->second;
  int number = start;
  while (registry_.Holds(stem + std::to_string(number))) ++number;
  start = number;
  return number;
}

int CodeBook::FirstUniqueNumber(const std::string& stem, int first) {
  auto& [taken_from, taken_to] = taken_.try_emplace(stem, 0, 0).first->second;
  const bool known = first >= taken_from && first <= taken_to;
  int number = known ? taken_to : first;
  while (IsStored(ShortenNumbered(stem, number)) || registry_.Holds(ShortenNumbered(stem, number))) {
    ++number;
  }
  // [first, number) were found taken, and number is taken by the caller now.
  if (!known) taken_from = first;
  taken_to = number + 1;
  return number;
}

std::string ShortCode(std::string_view text, CodeBook& book, CodeVariant variant) {
  Registry& registry = book.registry();
  std::string candidate(variant.cut_first ? Left(text, kCodeWidth) : text);
  std::string stem = candidate;
  int number = 0;
  if (registry.Holds(candidate)) {
    if (stem.size() == kCodeWidth) stem.pop_back();
    number = book.FirstFreeNumber(stem);
    candidate = stem + std::to_string(number);
  }
  if (variant.register_before_shortening) registry.Add(candidate);
  std::string code = ShortenTo10(candidate);

  if (book.IsStored(code)) {
    if (number == 0) stem = candidate;
    number = book.FirstUniqueNumber(stem, number + 1);
    code = ShortenNumbered(stem, number);
    if (variant.register_before_shortening) registry.Add(stem + std::to_string(number));
  }
  if (!variant.register_before_shortening) registry.Add(code);
  book.Store(code);
  return code;
}

}  // namespace transzendal
