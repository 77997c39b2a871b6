// Private to src/exchange: owners of libxml2's C resources and the library's one-time setup. The
// only header that includes libxml2; public headers never do.
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlreader.h>

#include <memory>

namespace transzendal::libxml {

struct ReaderFree {
  void operator()(xmlTextReaderPtr reader) const noexcept { xmlFreeTextReader(reader); }
};
using Reader = std::unique_ptr<xmlTextReader, ReaderFree>;

struct DocumentFree {
  void operator()(xmlDocPtr document) const noexcept { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentFree>;

struct StringFree {
  void operator()(xmlChar* text) const noexcept { xmlFree(text); }
};
using String = std::unique_ptr<xmlChar, StringFree>;

// Sets libxml2 up once per process, before any document is read: no external entity, external DTD
// or network resource is ever loaded (the loader refuses them all), and nothing is printed to
// standard error (errors reach each reader's own handler).
void EnsureReady();

// Parser options for every school file: entities and character references resolved, nothing
// fetched from outside, big line numbers kept. libxml2's default limits against entity expansion
// stay in force.
inline constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_BIG_LINES;

}  // namespace transzendal::libxml
