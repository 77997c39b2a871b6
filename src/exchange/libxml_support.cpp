#include "libxml_support.h"

#include <mutex>

namespace transzendal::libxml {
namespace {

xmlParserInputPtr RefuseExternalResource(const char* /*url*/, const char* /*id*/,
                                         xmlParserCtxtPtr /*context*/) {
  return nullptr;
}

void Silence(void* /*context*/, const char* /*format*/, ...) {}

}  // namespace

void EnsureReady() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    xmlSetExternalEntityLoader(RefuseExternalResource);
    xmlSetGenericErrorFunc(nullptr, Silence);
  });
}

}  // namespace transzendal::libxml
