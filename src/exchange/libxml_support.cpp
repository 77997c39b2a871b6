#include "libxml_support.h"

#include <libxml/encoding.h>

#include <mutex>

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

}  // namespace

void FirstError::Keep(const xmlError* error) {
  if (failed || error == nullptr || error->level < XML_ERR_ERROR) return;
  failed = true;
  code = error->code;
  line = error->line;
  message = Trim(error->message != nullptr ? error->message : "");
}

void EnsureReady() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    xmlSetExternalEntityLoader(RefuseExternalResource);
    xmlSetGenericErrorFunc(nullptr, Silence);
    xmlNewCharEncodingHandler("windows-1252", Windows1252ToUtf8, Utf8ToWindows1252);
    xmlAddEncodingAlias("windows-1252", "cp1252");
  });
}

}  // namespace transzendal::libxml
