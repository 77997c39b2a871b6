// The index behind ExchangeTable::Locate: for one list of fields, the records that hold each
// combination of values, in stored order, so that a search costs one lookup instead of a scan.
// The table owns its indexes and keeps them right as records are appended and edited.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace transzendal {

class LocateIndex {
 public:
  // The key of a list of values (one per indexed field); two different lists never share a key.
  static std::string Key(std::span<const std::string> values);
  // Appends one value to a key being built value by value, as Key builds it.
  static void AppendToKey(std::string_view value, std::string& key);

  // Records that `record` holds `key`; adding the same pair twice keeps one.
  void Add(const std::string& key, std::uint32_t record);
  // Forgets that `record` holds `key`; nothing happens when it was not recorded.
  void Remove(const std::string& key, std::uint32_t record);
  // The first record, in stored order, that holds `key`.
  std::optional<std::uint32_t> First(const std::string& key) const;

 private:
  std::unordered_map<std::string, std::vector<std::uint32_t>> records_;  // each list ascending
};

}  // namespace transzendal
