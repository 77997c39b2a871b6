#include "registry.h"

#include "text.h"

namespace transzendal {

bool Registry::Holds(std::string_view text) const { return folded_.contains(FoldCase(text)); }

void Registry::Add(std::string_view text) {
  entries_.emplace_back(text);
  folded_.insert(FoldCase(text));
}

}  // namespace transzendal
