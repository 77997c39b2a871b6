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

bool CodeBook::IsStored(std::string_view code) const {
  return stored_.contains(std::string(TrimTrailingBlanks(code)));
}

void CodeBook::Store(std::string_view code) { stored_.emplace(TrimTrailingBlanks(code)); }

std::string ShortCode(std::string_view text, CodeBook& book, CodeVariant variant) {
  Registry& registry = book.registry();
  std::string candidate(variant.cut_first ? Left(text, kCodeWidth) : text);
  std::string stem = candidate;
  int number = 0;
  if (registry.Holds(candidate)) {
    if (stem.size() == kCodeWidth) stem.pop_back();
    do {
      candidate = stem + std::to_string(++number);
    } while (registry.Holds(candidate));
  }
  if (variant.register_before_shortening) registry.Add(candidate);
  std::string code = ShortenTo10(candidate);

  if (book.IsStored(code)) {
    if (number == 0) stem = candidate;
    do {
      code = ShortenNumbered(stem, ++number);
    } while (book.IsStored(code) || registry.Holds(code));
    if (variant.register_before_shortening) registry.Add(stem + std::to_string(number));
  }
  if (!variant.register_before_shortening) registry.Add(code);
  book.Store(code);
  return code;
}

}  // namespace transzendal
