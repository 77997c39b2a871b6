#include "exchange_directory.h"

namespace transzendal {

std::filesystem::path ResolveExchangeDirectory(const std::optional<std::filesystem::path>& chosen,
                                               platform::EnvironmentLookup environment) {
  if (chosen) return *chosen;
  if (auto from_environment = environment("TRANSZENDAL_ZTEMP");
      from_environment && !from_environment->empty()) {
    return platform::PathFromUtf8(*from_environment);
  }
  return platform::DefaultExchangeDirectory(environment);
}

}  // namespace transzendal
