#include "locate_index.h"

#include <algorithm>

namespace transzendal {

std::string LocateIndex::Key(std::span<const std::string> values) {
  std::string key;
  for (const std::string& value : values) AppendToKey(value, key);
  return key;
}

void LocateIndex::AppendToKey(std::string_view value, std::string& key) {
  // Each value behind its length: "ab" + "c" and "a" + "bc" stay apart.
  key += std::to_string(value.size());
  key += ':';
  key += value;
}

void LocateIndex::Add(const std::string& key, std::uint32_t record) {
  std::vector<std::uint32_t>& records = records_[key];
  // Appends arrive in stored order, so the common case is a push at the end.
  if (records.empty() || records.back() < record) {
    records.push_back(record);
    return;
  }
  const auto at = std::lower_bound(records.begin(), records.end(), record);
  if (at == records.end() || *at != record) records.insert(at, record);
}

void LocateIndex::Remove(const std::string& key, std::uint32_t record) {
  const auto found = records_.find(key);
  if (found == records_.end()) return;
  std::vector<std::uint32_t>& records = found->second;
  const auto at = std::lower_bound(records.begin(), records.end(), record);
  if (at != records.end() && *at == record) records.erase(at);
  if (records.empty()) records_.erase(found);
}

std::optional<std::uint32_t> LocateIndex::First(const std::string& key) const {
  const auto found = records_.find(key);
  if (found == records_.end() || found->second.empty()) return std::nullopt;
  return found->second.front();
}

}  // namespace transzendal
