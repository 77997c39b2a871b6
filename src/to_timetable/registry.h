// Registry: an insertion-ordered list of texts whose membership test ignores letter case, accented
// capitals included, and respects accents ("Á" matches "á"; "a" does not match "á"). Entries are
// never removed. Texts are Windows-1252.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace transzendal {

class Registry {
 public:
  bool Holds(std::string_view text) const;
  // Adds `text` at the end; a text already held is added again (the list keeps every entry).
  void Add(std::string_view text);

  const std::vector<std::string>& entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
  std::unordered_set<std::string> folded_;
};

}  // namespace transzendal
