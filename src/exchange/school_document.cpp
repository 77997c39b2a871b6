#include "school_document.h"

#include <libxml/c14n.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <span>
#include <system_error>

#include "file_error.h"
#include "libxml_support.h"
#include "messages.h"
#include "platform.h"
#include "run_error.h"
#include "text.h"

namespace transzendal {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRootName = "datosZPH";
constexpr std::string_view kTimetableName = "horario";

xmlDocPtr AsDocument(void* document) { return static_cast<xmlDocPtr>(document); }
xmlNodePtr AsNode(void* node) { return static_cast<xmlNodePtr>(node); }

const xmlChar* AsXml(const std::string& text) {
  return reinterpret_cast<const xmlChar*>(text.c_str());
}

std::string_view AsView(const xmlChar* text) {
  return text == nullptr ? std::string_view()
                         : std::string_view(reinterpret_cast<const char*>(text));
}

// Names are compared as the school reader compares them: the qualified name, so a prefixed
// element is another element.
bool IsElementNamed(const xmlNode* node, std::string_view name) {
  return node->type == XML_ELEMENT_NODE && (node->ns == nullptr || node->ns->prefix == nullptr) &&
         AsView(node->name) == name;
}

std::string QualifiedName(const xmlNode* node) {
  std::string name;
  if (node->ns != nullptr && node->ns->prefix != nullptr) {
    name.append(AsView(node->ns->prefix)).append(":");
  }
  return name.append(AsView(node->name));
}

// Windows-1252 school data as libxml2 takes it: UTF-8, without the control characters that no
// XML 1.0 document may hold (not even as character references).
std::string DocumentText(std::string_view text) {
  std::string kept(text);
  for (char& c : kept) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 && c != '\t' && c != '\n' && c != '\r') c = '?';
  }
  return Windows1252ToUtf8(kept);
}

ErrorContext At(std::string_view file_name) { return {std::string(file_name), {}, {}, {}}; }

[[noreturn]] void Unreadable(std::string_view file_name) {
  throw RunError(msg::FillMessage(msg::kSchoolFileUnreadable, {file_name}), At(file_name));
}

// The words of the school reader for the same failures: libxml2's tree parser says "Premature end
// of data" where the stream parser says "Extra content", and names an empty file its own way.
std::string ParseErrorDetail(const libxml::FirstError& error, bool has_root) {
  if (!has_root && (!error.failed || error.code == XML_ERR_DOCUMENT_EMPTY ||
                    error.code == XML_ERR_DOCUMENT_END)) {
    return std::string(msg::kXmlNoElement);
  }
  if (error.code == XML_ERR_DOCUMENT_END || error.code == XML_ERR_TAG_NOT_FINISHED) {
    return std::string(msg::kXmlCutOrExtra);
  }
  return error.message;
}

struct FileInput {
  platform::File file;
  std::uint64_t offset = 0;
  bool failed = false;
};

int ReadInput(void* context, char* buffer, int length) {
  auto* input = static_cast<FileInput*>(context);
  std::error_code error;
  const std::size_t got = input->file.ReadAt(
      input->offset, std::span<char>(buffer, static_cast<std::size_t>(length)), error);
  if (error) {
    input->failed = true;
    return -1;
  }
  input->offset += got;
  return static_cast<int>(got);
}

int CloseNothing(void* /*context*/) { return 0; }

// libxml2 hands its error callback the parser itself; our error sink rides in the parser's
// _private slot, which nothing else uses.
void KeepParserError(void* parser, xmlErrorPtr error) {
  static_cast<libxml::FirstError*>(static_cast<xmlParserCtxtPtr>(parser)->_private)->Keep(error);
}

struct FileOutput {
  platform::ReplacingFile file;
  std::error_code error;
};

int WriteOutput(void* context, const char* buffer, int length) {
  auto* output = static_cast<FileOutput*>(context);
  if (output->error) return -1;
  output->file.Write(std::span<const char>(buffer, static_cast<std::size_t>(length)),
                     output->error);
  return output->error ? -1 : length;
}

[[noreturn]] void NotSaved(const fs::path& target, std::string_view reason) {
  const std::string name = platform::PathToUtf8(target);
  throw RunError(msg::FillMessage(msg::kResultNotSaved, {name, reason}), At(name));
}

[[noreturn]] void NotCreated(const fs::path& target, std::error_code error) {
  const fs::path folder = target.parent_path();
  std::error_code ignored;
  if (!folder.empty() && !fs::is_directory(folder, ignored)) {
    const std::string name = platform::PathToUtf8(target);
    throw RunError(
        msg::FillMessage(msg::kResultFolderMissing, {name, platform::PathToUtf8(folder)}),
        At(name));
  }
  NotSaved(target, FileErrorText(error));
}

// A plain text node whose content the document's dictionary holds: a timetable repeats a few
// short values (days, periods, frames, sessions, teachers) hundreds of thousands of times, and a
// copy for each would make the largest schools' trees too big. libxml2 frees dictionary strings
// only with the dictionary.
xmlNodePtr SharedText(xmlDocPtr document, const std::string& utf8) {
  xmlNodePtr text = xmlNewDocText(document, nullptr);
  if (text == nullptr) throw std::bad_alloc();
  const xmlChar* content =
      document->dict != nullptr
          ? xmlDictLookup(document->dict, AsXml(utf8), static_cast<int>(utf8.size()))
          : xmlStrndup(AsXml(utf8), static_cast<int>(utf8.size()));
  if (content == nullptr) {
    xmlFreeNode(text);
    throw std::bad_alloc();
  }
  text->content = const_cast<xmlChar*>(content);
  return text;
}

xmlNodePtr AppendElement(xmlNodePtr parent, std::string_view name) {
  xmlNodePtr node = xmlNewDocNode(parent->doc, nullptr, AsXml(std::string(name)), nullptr);
  if (node == nullptr) throw std::bad_alloc();
  // O(1): libxml2 keeps each element's last child, so 100,000 periods append in linear time.
  xmlAddChild(parent, node);
  return node;
}

}  // namespace

DocumentElement::DocumentElement(DocumentElement&& other) noexcept : node_(other.node_) {
  other.node_ = nullptr;
}

DocumentElement& DocumentElement::operator=(DocumentElement&& other) noexcept {
  node_ = other.node_;
  if (this != &other) other.node_ = nullptr;
  return *this;
}

DocumentElement DocumentElement::AppendChild(std::string_view name) {
  return DocumentElement(AppendElement(AsNode(node_), name));
}

void DocumentElement::SetAttribute(std::string_view name, std::string_view value) {
  // Created empty (or emptied, when it exists), then given its value as one plain text node.
  xmlNodePtr node = AsNode(node_);
  xmlAttrPtr attribute = xmlSetProp(node, AsXml(std::string(name)), nullptr);
  if (attribute == nullptr) throw std::bad_alloc();
  const std::string utf8 = DocumentText(value);
  if (!utf8.empty()) xmlAddChild(reinterpret_cast<xmlNodePtr>(attribute), SharedText(node->doc, utf8));
}

void DocumentElement::SetAttribute(std::string_view name, int value) {
  SetAttribute(name, std::to_string(value));
}

void DocumentElement::SetText(std::string_view text) {
  xmlNodePtr node = AsNode(node_);
  xmlNodeSetContent(node, nullptr);
  const std::string utf8 = DocumentText(text);
  // Added as plain text: xmlNodeSetContent would read "&" as the start of an entity reference.
  if (!utf8.empty()) xmlAddChild(node, SharedText(node->doc, utf8));
}

SchoolDocument::SchoolDocument(void* document, std::string file_name, std::string encoding)
    : document_(document), file_name_(std::move(file_name)), encoding_(std::move(encoding)) {}

SchoolDocument::SchoolDocument(SchoolDocument&& other) noexcept
    : document_(other.document_),
      file_name_(std::move(other.file_name_)),
      encoding_(std::move(other.encoding_)) {
  other.document_ = nullptr;
}

SchoolDocument& SchoolDocument::operator=(SchoolDocument&& other) noexcept {
  if (this != &other) {
    xmlFreeDoc(AsDocument(document_));
    document_ = other.document_;
    file_name_ = std::move(other.file_name_);
    encoding_ = std::move(other.encoding_);
    other.document_ = nullptr;
  }
  return *this;
}

SchoolDocument::~SchoolDocument() { xmlFreeDoc(AsDocument(document_)); }

SchoolDocument SchoolDocument::Load(const fs::path& file) {
  libxml::EnsureReady();
  const std::string file_name = platform::PathToUtf8(file);
  std::error_code error;
  FileInput input{platform::File::Open(file, platform::FileAccess::kRead,
                                       platform::FileSharing::kShared, error)};
  if (error) Unreadable(file_name);
  std::string head(libxml::kHeadSize, '\0');
  head.resize(input.file.ReadAt(0, head, error));
  const std::uint64_t size = input.file.Size(error);
  if (error) Unreadable(file_name);
  const std::optional<std::string> mark = libxml::EncodingOverridingDeclaration(head);
  // A tree takes several times its file: bounded all the same (see MemoryBudget).
  const libxml::MemoryBudget budget(static_cast<std::size_t>(std::min<std::uint64_t>(
      10 * size + (32u << 20), std::numeric_limits<std::size_t>::max() / 2)));
  libxml::Parser parser(xmlCreateIOParserCtxt(nullptr, nullptr, ReadInput, CloseNothing, &input,
                                              XML_CHAR_ENCODING_NONE));
  if (!parser) Unreadable(file_name);
  libxml::FirstError parse_error;
  parser->_private = &parse_error;
  parser->sax->serror = KeepParserError;
  // Short text nodes (most are the indentation between elements) kept inside their node.
  xmlCtxtUseOptions(parser.get(),
                    libxml::kParseOptions | XML_PARSE_COMPACT | (mark ? XML_PARSE_IGNORE_ENC : 0));
  xmlParseDocument(parser.get());
  // Taken over before any check, so that every way out frees it.
  libxml::Document document(parser->myDoc);
  parser->myDoc = nullptr;
  if (input.failed) Unreadable(file_name);

  // A file that is both broken and of another root is called broken: the school reader says so
  // too, for any file small enough to be parsed before its first element is handed out.
  const xmlNode* root = document ? xmlDocGetRootElement(document.get()) : nullptr;
  if (!parser->wellFormed || parse_error.failed || root == nullptr) {
    throw RunError(
        msg::FillMessage(msg::kSchoolFileNotXml, {file_name, std::to_string(parse_error.line),
                                                  ParseErrorDetail(parse_error, root != nullptr)}),
        At(file_name));
  }
  if (!IsElementNamed(root, kRootName)) {
    throw RunError(msg::FillMessage(msg::kSchoolFileWrongRoot, {file_name, QualifiedName(root)}),
                   At(file_name));
  }
  // A byte-order mark that contradicts the declaration won: the result is saved as the mark says.
  std::string encoding = mark ? (*mark == "UTF-8" ? *mark : std::string("UTF-16"))
                              : std::string(document->encoding != nullptr
                                                ? AsView(document->encoding)
                                                : "UTF-8");
  return SchoolDocument(document.release(), file_name, std::move(encoding));
}

int SchoolDocument::RemoveTimetables() {
  xmlNodePtr root = xmlDocGetRootElement(AsDocument(document_));
  int removed = 0;
  for (xmlNodePtr child = root->children; child != nullptr;) {
    xmlNodePtr next = child->next;
    if (IsElementNamed(child, kTimetableName)) {
      xmlNodePtr indent = child->prev;
      if (indent != nullptr && indent->type == XML_TEXT_NODE && xmlIsBlankNode(indent)) {
        xmlUnlinkNode(indent);
        xmlFreeNode(indent);
      }
      xmlUnlinkNode(child);
      xmlFreeNode(child);
      ++removed;
    }
    child = next;
  }
  return removed;
}

DocumentElement SchoolDocument::AppendTimetable() {
  return DocumentElement(
      AppendElement(xmlDocGetRootElement(AsDocument(document_)), kTimetableName));
}

void SchoolDocument::SaveAs(const fs::path& target) const {
  std::error_code error;
  std::optional<platform::ReplacingFile> file = platform::ReplacingFile::Create(target, error);
  if (!file) NotCreated(target, error);
  FileOutput output{std::move(*file), {}};
  // The encoding is always named: without one, libxml2 would write every non-ASCII character of a
  // UTF-8 file as a character reference.
  libxml::Save save(xmlSaveToIO(WriteOutput, nullptr, &output, encoding_.c_str(), 0));
  if (!save) {
    const std::string name = platform::PathToUtf8(target);
    throw RunError(msg::FillMessage(msg::kResultEncodingUnavailable, {name, encoding_}), At(name));
  }
  const long dumped = xmlSaveDoc(save.get(), AsDocument(document_));
  const int closed = xmlSaveClose(save.release());
  if (output.error) NotSaved(target, FileErrorText(output.error));
  if (dumped < 0 || closed < 0) NotSaved(target, msg::kXmlNotWritten);
  output.file.Commit(error);
  if (error) NotSaved(target, FileErrorText(error));
}

std::string SchoolDocument::CanonicalForm() const {
  xmlChar* bytes = nullptr;
  const int size = xmlC14NDocDumpMemory(AsDocument(document_), nullptr, XML_C14N_1_0, nullptr,
                                        /*with_comments=*/1, &bytes);
  const libxml::String owner(bytes);
  if (size < 0 || bytes == nullptr) {
    throw RunError(msg::FillMessage(msg::kDocumentNoCanonicalForm, {file_name_}), At(file_name_));
  }
  return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

}  // namespace transzendal
