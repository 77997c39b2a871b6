#include "school_reader.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "libxml_support.h"
#include "messages.h"
#include "platform.h"
#include "run_error.h"
#include "text.h"

namespace transzendal {
namespace {

constexpr std::string_view kRootName = "datosZPH";

// A tree of element names. In the path tree, node 0 is the root element datosZPH and a node may mark
// a record kind; in a record kind's child tree, node 0 is the record element and a node may mark one
// of the schema's child paths.
struct NameTree {
  struct Node {
    std::vector<std::pair<std::string_view, int>> children;  // name, node
    int mark = -1;
  };
  std::vector<Node> nodes{Node{}};

  void Add(std::string_view path, int mark) {
    std::size_t node = 0;
    while (!path.empty()) {
      const std::size_t slash = path.find('/');
      const std::string_view step = path.substr(0, slash);
      path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
      const int found = Find(node, step);
      if (found >= 0) {
        node = static_cast<std::size_t>(found);
        continue;
      }
      nodes[node].children.emplace_back(step, static_cast<int>(nodes.size()));
      node = nodes.size();
      nodes.emplace_back();
    }
    nodes[node].mark = mark;
  }

  // Position of `name` among the children of `node`, or -1.
  int Slot(std::size_t node, std::string_view name) const {
    const auto& children = nodes[node].children;
    for (std::size_t i = 0; i < children.size(); ++i) {
      if (children[i].first == name) return static_cast<int>(i);
    }
    return -1;
  }

  // The child of `node` named `name`, or -1.
  int Find(std::size_t node, std::string_view name) const {
    const int slot = Slot(node, name);
    return slot < 0 ? -1 : nodes[node].children[static_cast<std::size_t>(slot)].second;
  }

  int Mark(int node) const { return nodes[static_cast<std::size_t>(node)].mark; }
};

struct Trees {
  NameTree paths;
  std::array<NameTree, kRecordKindCount> children;
};

const Trees& SchoolTrees() {
  static const Trees trees = [] {
    Trees t;
    for (std::size_t k = 0; k < kRecordKindCount; ++k) {
      const RecordSchema& schema = SchemaOf(static_cast<RecordKind>(k));
      t.paths.Add(schema.path, static_cast<int>(k));
      for (std::size_t c = 0; c < schema.children.size(); ++c) {
        t.children[k].Add(schema.children[c], static_cast<int>(c));
      }
    }
    return t;
  }();
  return trees;
}

struct OpenElement {
  int path_node;       // node of the path tree, -1 off the record paths
  int child_node;      // node of the innermost open record's child tree, -1 off its child paths
  std::uint32_t seen;  // child-tree slots already met among this element's children
};

struct OpenRecord {
  RecordKind kind;
  std::size_t index;
  std::size_t depth;
};

struct Capture {
  RecordKind kind;
  std::size_t index;
  int child;  // schema child index, or -1 for the record's own text
  std::size_t depth;
};

void KeepFirstError(void* sink, xmlErrorPtr error) {
  static_cast<libxml::FirstError*>(sink)->Keep(error);
}

std::string_view AsView(const xmlChar* text) {
  return text == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(text));
}

class SchoolStream {
 public:
  SchoolStream(xmlTextReaderPtr reader, std::string_view file_name)
      : reader_(reader), file_name_(file_name), trees_(SchoolTrees()) {
    xmlTextReaderSetStructuredErrorHandler(reader_, KeepFirstError, &errors_);
  }

  SchoolModel Read() {
    int status;
    while ((status = xmlTextReaderRead(reader_)) == 1) {
      switch (xmlTextReaderNodeType(reader_)) {
        case XML_READER_TYPE_ELEMENT:
          StartElement();
          break;
        case XML_READER_TYPE_END_ELEMENT:
          EndElement();
          break;
        case XML_READER_TYPE_TEXT:
        case XML_READER_TYPE_CDATA:
        case XML_READER_TYPE_WHITESPACE:
        case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
          CharacterData();
          break;
        default:
          break;
      }
    }
    if (status != 0 || errors_.failed || !seen_root_) Fail();
    return std::move(model_);
  }

 private:
  void StartElement() {
    const std::string_view name = AsView(xmlTextReaderConstName(reader_));
    const bool empty = xmlTextReaderIsEmptyElement(reader_) == 1;
    OpenElement element{-1, -1, 0};
    if (open_.empty()) {
      CheckRoot(name);
      element.path_node = 0;
    } else {
      OpenElement& parent = open_.back();
      if (parent.path_node >= 0) {
        element.path_node = trees_.paths.Find(static_cast<std::size_t>(parent.path_node), name);
      }
      if (parent.child_node >= 0) element.child_node = EnterChild(parent, name);
    }
    const std::size_t depth = open_.size();
    if (element.path_node >= 0) {
      const int kind = trees_.paths.Mark(element.path_node);
      if (kind >= 0) {
        OpenRecordAt(static_cast<RecordKind>(kind), depth);
        element.child_node = 0;
      }
    }
    if (element.child_node > 0) StartChildCapture(element.child_node, depth);
    open_.push_back(element);
    if (empty) EndElement();
  }

  // The child-tree node for an element `name` under `parent`, when it is the first of its name there.
  int EnterChild(OpenElement& parent, std::string_view name) {
    const NameTree& tree = trees_.children[static_cast<std::size_t>(records_.back().kind)];
    const auto node = static_cast<std::size_t>(parent.child_node);
    const int slot = tree.Slot(node, name);
    if (slot < 0) return -1;
    const std::uint32_t bit = 1u << slot;  // schemas have far fewer than 32 children per level
    if (parent.seen & bit) return -1;
    parent.seen |= bit;
    return tree.nodes[node].children[static_cast<std::size_t>(slot)].second;
  }

  void CheckRoot(std::string_view name) {
    seen_root_ = true;
    if (name != kRootName) {
      throw RunError(msg::FillMessage(msg::kSchoolFileWrongRoot, {file_name_, name}), Context());
    }
  }

  void OpenRecordAt(RecordKind kind, std::size_t depth) {
    auto& list = model_.MutableRecords(kind);
    SchoolRecord& record = list.emplace_back(kind, static_cast<int>(list.size()), CurrentLine());
    if (kind == RecordKind::kPeriod && !records_.empty() &&
        records_.back().kind == RecordKind::kTimeFrame) {
      record.set_parent(static_cast<int>(records_.back().index));
    }
    ReadAttributes(record);
    records_.push_back({kind, list.size() - 1, depth});
    if (SchemaOf(kind).keeps_own_text) captures_.push_back({kind, list.size() - 1, -1, depth});
  }

  void StartChildCapture(int child_node, std::size_t depth) {
    const OpenRecord& record = records_.back();
    const int child = trees_.children[static_cast<std::size_t>(record.kind)].Mark(child_node);
    if (child < 0) return;
    model_.MutableRecords(record.kind)[record.index].StartChild(static_cast<std::size_t>(child));
    captures_.push_back({record.kind, record.index, child, depth});
  }

  void ReadAttributes(SchoolRecord& record) {
    while (xmlTextReaderMoveToNextAttribute(reader_) == 1) {
      if (xmlTextReaderIsNamespaceDecl(reader_) == 1) continue;
      record.AddAttribute(AsView(xmlTextReaderConstName(reader_)),
                          AsView(xmlTextReaderConstValue(reader_)));
    }
    xmlTextReaderMoveToElement(reader_);
  }

  void EndElement() {
    if (open_.empty()) return;
    const std::size_t depth = open_.size() - 1;
    while (!captures_.empty() && captures_.back().depth == depth) captures_.pop_back();
    if (!records_.empty() && records_.back().depth == depth) records_.pop_back();
    open_.pop_back();
  }

  void CharacterData() {
    if (captures_.empty()) return;
    const std::string_view text = AsView(xmlTextReaderConstValue(reader_));
    for (const Capture& capture : captures_) {
      SchoolRecord& record = model_.MutableRecords(capture.kind)[capture.index];
      if (capture.child < 0) {
        record.AppendOwnText(text);
      } else {
        record.AppendChildText(static_cast<std::size_t>(capture.child), text);
      }
    }
  }

  int CurrentLine() const {
    // Element nodes store lines up to 65535 only; beyond, the parser's line is the nearest we have.
    const long line = xmlGetLineNo(xmlTextReaderCurrentNode(reader_));
    if (line > 0 && line < 65535) return static_cast<int>(line);
    return xmlTextReaderGetParserLineNumber(reader_);
  }

  [[noreturn]] void Fail() const {
    throw RunError(msg::FillMessage(msg::kSchoolFileNotXml,
                                    {file_name_, std::to_string(errors_.line), ErrorDetail()}),
                   Context());
  }

  // libxml2's own words, except where they would mislead: its stream parser gives the same
  // "Extra content at the end of the document" to an empty file and to one cut short.
  std::string ErrorDetail() const {
    // Asking for the document hands it over to us: it must be freed here.
    const libxml::Document partial(xmlTextReaderCurrentDoc(reader_));
    const bool has_element = partial && xmlDocGetRootElement(partial.get()) != nullptr;
    if (!has_element && (!errors_.failed || errors_.code == XML_ERR_DOCUMENT_EMPTY ||
                         errors_.code == XML_ERR_DOCUMENT_END)) {
      return std::string(msg::kXmlNoElement);
    }
    if (errors_.code == XML_ERR_DOCUMENT_END) return std::string(msg::kXmlCutOrExtra);
    return errors_.message;
  }

  ErrorContext Context() const { return {std::string(file_name_), {}, {}, {}}; }

  xmlTextReaderPtr reader_;
  std::string_view file_name_;
  const Trees& trees_;
  libxml::FirstError errors_;
  bool seen_root_ = false;
  SchoolModel model_;
  std::vector<OpenElement> open_;
  std::vector<OpenRecord> records_;
  std::vector<Capture> captures_;
};

struct FileSource {
  std::ifstream stream;
  bool failed = false;
};

int ReadFromFile(void* context, char* buffer, int length) {
  auto* source = static_cast<FileSource*>(context);
  source->stream.read(buffer, length);
  if (source->stream.bad()) {
    source->failed = true;
    return -1;
  }
  return static_cast<int>(source->stream.gcount());
}

int CloseNothing(void* /*context*/) { return 0; }

// The stream reader holds little of the document at a time: a generous bound for a file of
// `size` bytes, which a legitimate 10 MB text node (libxml2's own limit) stays within.
std::size_t ReaderBudget(std::size_t size) { return 2 * size + (8u << 20); }

int OptionsFor(std::string_view head) {
  return libxml::kParseOptions |
         (libxml::EncodingOverridingDeclaration(head) ? XML_PARSE_IGNORE_ENC : 0);
}

}  // namespace

SchoolModel ReadSchoolFile(const std::filesystem::path& file) {
  libxml::EnsureReady();
  const std::string file_name = platform::PathToUtf8(file);
  FileSource source{std::ifstream(file, std::ios::binary)};
  if (!source.stream) {
    throw RunError(msg::FillMessage(msg::kSchoolFileUnreadable, {file_name}), {file_name, {}, {}, {}});
  }
  std::string head(libxml::kHeadSize, '\0');
  source.stream.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(source.stream.gcount()));
  source.stream.clear();
  source.stream.seekg(0, std::ios::end);
  const auto size = static_cast<std::size_t>(std::max<std::streamoff>(source.stream.tellg(), 0));
  source.stream.seekg(0);
  const libxml::MemoryBudget budget(ReaderBudget(size));
  libxml::Reader reader(
      xmlReaderForIO(ReadFromFile, CloseNothing, &source, nullptr, nullptr, OptionsFor(head)));
  if (!reader) {
    throw RunError(msg::FillMessage(msg::kSchoolFileUnreadable, {file_name}), {file_name, {}, {}, {}});
  }
  SchoolStream stream(reader.get(), file_name);
  try {
    return stream.Read();
  } catch (const RunError&) {
    if (!source.failed) throw;
    throw RunError(msg::FillMessage(msg::kSchoolFileUnreadable, {file_name}), {file_name, {}, {}, {}});
  }
}

SchoolModel ReadSchoolBytes(std::string_view bytes, std::string_view file_name) {
  libxml::EnsureReady();
  if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
    throw RunError(msg::FillMessage(msg::kSchoolFileUnreadable, {file_name}),
                   {std::string(file_name), {}, {}, {}});
  }
  const libxml::MemoryBudget budget(ReaderBudget(bytes.size()));
  libxml::Reader reader(xmlReaderForMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                           nullptr, OptionsFor(bytes.substr(0, libxml::kHeadSize))));
  if (!reader) {
    throw RunError(msg::FillMessage(msg::kSchoolFileUnreadable, {file_name}),
                   {std::string(file_name), {}, {}, {}});
  }
  return SchoolStream(reader.get(), file_name).Read();
}

}  // namespace transzendal
