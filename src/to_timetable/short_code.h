// ShortCode: the code of at most 10 characters that a table row receives from a name.
//
// The rule, for a text T and a code book (the table's registry and the codes already stored):
//  1. The candidate is T, or with cut-first its first 10 characters (a trailing blank stays).
//  2. When the registry holds the candidate, it is numbered: a candidate of exactly 10 characters
//     loses its last one, then 1, 2, 3, ... are appended until the registry does not hold the result.
//  3. With register-before-shortening, the candidate is registered now.
//  4. A candidate longer than 10 characters becomes its first 8 followed by its last 2.
//  5. Otherwise the final code is registered now.
// No two rows of one table receive the same stored code: when the code of step 4 is already stored
// (as the table stores it, trailing blanks dropped; letter case ignored), numbering goes on with the next numbers, on the
// stem that step 2 numbered or else on the whole candidate, each result shortened as in step 4 (from
// the number 100 on, a result longer than 10 characters keeps its first 10 - d characters and all d
// digits of its number), until the code is neither stored nor in the registry.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "registry.h"

namespace transzendal {

struct CodeVariant {
  bool cut_first;
  bool register_before_shortening;
};

// The codes of one table: the registry of the rule and the codes already stored in the table. It
// remembers what its numberings learnt, so that a long series of names sharing their first ten
// characters is numbered in linear time: registry and stored codes only grow, so a number found
// taken stays taken.
class CodeBook {
 public:
  Registry& registry() { return registry_; }
  const Registry& registry() const { return registry_; }
  bool IsStored(std::string_view code) const;
  void Store(std::string_view code);

  // The numbering of step 2: the first number from 1 whose candidate (stem and number) the
  // registry does not hold.
  int FirstFreeNumber(const std::string& stem);
  // The numbering that keeps codes unique: the first number from `first` whose code, stem and
  // number shortened, is neither stored nor registered.
  int FirstUniqueNumber(const std::string& stem, int first);

 private:
  Registry registry_;
  std::unordered_set<std::string> stored_;
  // Per folded stem, the number step 2 found free last: every smaller one is held.
  std::unordered_map<std::string, int> free_from_;
  // Per stem, numbers [first, second) known taken in the unique numbering.
  std::unordered_map<std::string, std::pair<int, int>> taken_;
};

// Returns the ShortCode of `text` (Windows-1252) and records it in `book`.
std::string ShortCode(std::string_view text, CodeBook& book, CodeVariant variant);

}  // namespace transzendal
