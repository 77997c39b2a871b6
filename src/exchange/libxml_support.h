// Private to src/exchange: owners of libxml2's C resources, the first-error sink of a parse, and
// the library's one-time setup. The only header that includes libxml2; public headers never do.
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlsave.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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

struct ParserFree {
  void operator()(xmlParserCtxtPtr parser) const noexcept { xmlFreeParserCtxt(parser); }
};
using Parser = std::unique_ptr<xmlParserCtxt, ParserFree>;

// Closing a save context writes what it still buffers; callers that need its result close it
// themselves (release, then xmlSaveClose).
struct SaveFree {
  void operator()(xmlSaveCtxtPtr save) const noexcept { xmlSaveClose(save); }
};
using Save = std::unique_ptr<xmlSaveCtxt, SaveFree>;

// The first error of one parse as libxml2 reports it (warnings ignored): the one a message names,
// since later errors are often consequences of it.
struct FirstError {
  bool failed = false;
  int code = 0;
  int line = 0;
  std::string message;

  void Keep(const xmlError* error);
};

// Sets libxml2 up once per process, before any document is read: no external entity, external DTD
// or network resource is ever loaded (the loader refuses them all), nothing is printed to
// standard error (errors reach each reader's own handler), and libxml2 allocates through our own
// functions, so that MemoryBudget can bound it.
void EnsureReady();

// Bounds the memory libxml2 may take while one document is parsed: allocations that would bring
// what it holds beyond what it held when the budget began plus `bytes` fail, and the parse ends
// with an error that FirstError words in Spanish. libxml2's own limits stop exponential entity
// expansion but not a quadratic one, which would otherwise take gigabytes from a small file.
// Budgets don't nest; without one libxml2 allocates freely.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::size_t bytes);
  ~MemoryBudget();
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;
};

// The encoding of the byte-order mark at the start of `head` (the file's first bytes) when the
// file's XML declaration names another one: the mark tells how the bytes really are, so it wins
// and the declaration is to be ignored (XML_PARSE_IGNORE_ENC). Nothing when they agree, or when
// there is no mark.
std::optional<std::string> EncodingOverridingDeclaration(std::string_view head);

// How many first bytes of a file EncodingOverridingDeclaration looks at.
inline constexpr std::size_t kHeadSize = 256;

// Parser options for every school file: entities and character references resolved, nothing
// fetched from outside, big line numbers kept. libxml2's default limits against entity expansion
// stay in force.
inline constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_BIG_LINES;

}  // namespace transzendal::libxml
