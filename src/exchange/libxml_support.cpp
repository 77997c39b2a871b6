#include "libxml_support.h"

#include <libxml/encoding.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>

#include "messages.h"
#include "platform.h"
#include "text.h"

namespace transzendal::libxml {
namespace {

// libxml2 built without iconv (the Windows build) knows no Windows-1252, and Debian's build takes
// it from iconv: our own handler makes a file that declares windows-1252 read and save the same on
// every platform. Both functions follow libxml2's contract: convert as much as fits, report in
// *inlen and *outlen what was consumed and produced.

int Windows1252ToUtf8(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  int read = 0;
  int written = 0;
  while (read < *inlen) {
    const char32_t cp = Windows1252CodePoint(in[read]);
    const int size = cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
    if (written + size > *outlen) break;
    if (size == 1) {
      out[written] = static_cast<unsigned char>(cp);
    } else if (size == 2) {
      out[written] = static_cast<unsigned char>(0xC0 | (cp >> 6));
      out[written + 1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    } else {
      out[written] = static_cast<unsigned char>(0xE0 | (cp >> 12));
      out[written + 1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      out[written + 2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    }
    written += size;
    ++read;
  }
  *inlen = read;
  *outlen = written;
  return written;
}

// A character the code page lacks returns -2 with everything before it converted: libxml2 then
// writes it as a character reference, so saving never loses a character.
int Utf8ToWindows1252(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  int read = 0;
  int written = 0;
  int status = 0;
  while (read < *inlen && written < *outlen) {
    const unsigned char lead = in[read];
    const int size = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (read + size > *inlen) break;  // the rest of this character comes with the next call
    char32_t cp = size == 1 ? lead : lead & (0x7Fu >> size);
    for (int k = 1; k < size; ++k) cp = (cp << 6) | (in[read + k] & 0x3Fu);
    const std::optional<char> byte = Windows1252Byte(cp);
    if (!byte) {
      status = -2;
      break;
    }
    out[written++] = static_cast<unsigned char>(*byte);
    read += size;
  }
  *inlen = read;
  *outlen = written;
  return status == 0 ? written : status;
}

xmlParserInputPtr RefuseExternalResource(const char* /*url*/, const char* /*id*/,
                                         xmlParserCtxtPtr /*context*/) {
  return nullptr;
}

void Silence(void* /*context*/, const char* /*format*/, ...) {}

// What libxml2 holds, counted as the C library reserved it, so that a budget can bound it.
constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
std::atomic<std::size_t> held{0};
std::atomic<std::size_t> limit{kUnlimited};

bool WithinBudget(std::size_t more) {
  const std::size_t now = held.load();
  const std::size_t most = limit.load();
  return more <= most && now <= most - more;
}

void* Allocate(std::size_t size) {
  if (!WithinBudget(size)) return nullptr;
  void* block = std::malloc(size);
  if (block != nullptr) held += platform::AllocatedSize(block);
  return block;
}

void Release(void* block) {
  if (block == nullptr) return;
  held -= platform::AllocatedSize(block);
  std::free(block);
}

void* Reallocate(void* block, std::size_t size) {
  if (block == nullptr) return Allocate(size);
  const std::size_t old_size = platform::AllocatedSize(block);
  if (size > old_size && !WithinBudget(size - old_size)) return nullptr;
  void* moved = std::realloc(block, size);
  if (moved == nullptr) return nullptr;
  held -= old_size;
  held += platform::AllocatedSize(moved);
  return moved;
}

char* Duplicate(const char* text) {
  const std::size_t size = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(Allocate(size));
  if (copy != nullptr) std::memcpy(copy, text, size);
  return copy;
}

// The value of the encoding pseudo-attribute of the XML declaration at the start of `text`.
std::optional<std::string> DeclaredEncoding(std::string_view text) {
  if (!text.starts_with("<?xml")) return std::nullopt;
  text = text.substr(0, text.find("?>"));
  const std::size_t name = text.find("encoding");
  if (name == std::string_view::npos) return std::nullopt;
  const std::size_t quote = text.find_first_of("\"'", name);
  if (quote == std::string_view::npos) return std::nullopt;
  const std::size_t end = text.find(text[quote], quote + 1);
  if (end == std::string_view::npos) return std::nullopt;
  return LowerAscii(text.substr(quote + 1, end - quote - 1));
}

// Every other byte, from `first`: the ASCII of a UTF-16 text is enough to read a declaration.
std::string NarrowUtf16(std::string_view bytes, std::size_t first) {
  std::string narrow;
  for (std::size_t i = first; i < bytes.size(); i += 2) narrow += bytes[i];
  return narrow;
}

}  // namespace

void FirstError::Keep(const xmlError* error) {
  if (failed || error == nullptr || error->level < XML_ERR_ERROR) return;
  failed = true;
  code = error->code;
  line = error->line;
  // Memory runs out only past a MemoryBudget, whose reason libxml2 can't know. libxml2 quotes the
  // document cut at a byte count ("Comment not terminated <!--%.50s"), which may split a character.
  message = code == XML_ERR_NO_MEMORY
                ? std::string(msg::kXmlTooMuchMemory)
                : RepairUtf8(Trim(error->message != nullptr ? error->message : ""));
}

void EnsureReady() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Before anything is allocated: every block must carry our header.
    xmlMemSetup(Release, Allocate, Reallocate, Duplicate);
    xmlInitParser();
    xmlSetExternalEntityLoader(RefuseExternalResource);
    xmlSetGenericErrorFunc(nullptr, Silence);
    xmlNewCharEncodingHandler("windows-1252", Windows1252ToUtf8, Utf8ToWindows1252);
    xmlAddEncodingAlias("windows-1252", "cp1252");
  });
}

MemoryBudget::MemoryBudget(std::size_t bytes) {
  const std::size_t now = held.load();
  limit = bytes > kUnlimited - now ? kUnlimited : now + bytes;
}

MemoryBudget::~MemoryBudget() { limit = kUnlimited; }

std::optional<std::string> EncodingOverridingDeclaration(std::string_view head) {
  std::string mark;
  std::string declaration;
  if (head.starts_with("\xEF\xBB\xBF")) {
    mark = "UTF-8";
    declaration = head.substr(3);
  } else if (head.starts_with("\xFF\xFE")) {
    mark = "UTF-16LE";
    declaration = NarrowUtf16(head, 2);
  } else if (head.starts_with("\xFE\xFF")) {
    mark = "UTF-16BE";
    declaration = NarrowUtf16(head, 3);
  } else {
    return std::nullopt;
  }
  const std::optional<std::string> declared = DeclaredEncoding(declaration);
  if (!declared) return std::nullopt;
  const bool agrees = mark == "UTF-8" ? (*declared == "utf-8" || *declared == "utf8")
                                      : declared->starts_with("utf-16") || *declared == "utf16" ||
                                            declared->starts_with("ucs-2") || *declared == "unicode";
  if (agrees) return std::nullopt;
  return mark;
}

}  // namespace transzendal::libxml
