// The result document of the reverse run: a Colvaria school file loaded whole as a tree, the few
// edits that put a new timetable into it, and saving it under another name in the encoding that
// the file declares. A SchoolDocument owns its tree; a DocumentElement is a handle on one element
// of it, valid while the document lives and the element stays in it. Texts handed in are
// Windows-1252, like all school data inside the converter.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace transzendal {

class DocumentElement {
 public:
  DocumentElement(DocumentElement&& other) noexcept;
  DocumentElement& operator=(DocumentElement&& other) noexcept;
  DocumentElement(const DocumentElement&) = delete;
  DocumentElement& operator=(const DocumentElement&) = delete;
  ~DocumentElement() = default;

  // Appends a new element `name` (ASCII, no namespace) as this element's last child and returns it.
  DocumentElement AppendChild(std::string_view name);

  // Sets the attribute `name` to `value`: a new attribute goes after the element's others, one set
  // before keeps its place and takes the new value. Here and in SetText, a control character that
  // XML cannot hold (below 32, but tab, line feed and carriage return) is stored as "?", so that
  // the saved file always reads back.
  void SetAttribute(std::string_view name, std::string_view value);
  // The same with the decimal text of `value`.
  void SetAttribute(std::string_view name, int value);

  // Makes `text` the element's only content; handles on its former children become invalid.
  void SetText(std::string_view text);

 private:
  friend class SchoolDocument;
  explicit DocumentElement(void* node) : node_(node) {}
  void* node_;  // an element of the owning document; null once moved from
};

class SchoolDocument {
 public:
  SchoolDocument(SchoolDocument&& other) noexcept;
  SchoolDocument& operator=(SchoolDocument&& other) noexcept;
  SchoolDocument(const SchoolDocument&) = delete;
  SchoolDocument& operator=(const SchoolDocument&) = delete;
  ~SchoolDocument();

  // Loads the school file at `file` whole, reading nothing outside it (no external entity, DTD or
  // network resource). Throws RunError naming the file, with the school reader's messages, when it
  // can't be read, is not well-formed XML, or its root element is not datosZPH.
  static SchoolDocument Load(const std::filesystem::path& file);

  // The encoding that the loaded file declares ("UTF-8" when it declares none), in which SaveAs
  // writes.
  const std::string& encoding() const { return encoding_; }

  // Removes every horario child of datosZPH, each with the blank text that indents it, and returns
  // how many there were. Handles on the removed elements become invalid.
  int RemoveTimetables();

  // Appends a new, empty horario as the last child of datosZPH and returns it.
  DocumentElement AppendTimetable();

  // Writes the whole document, with its XML declaration, to `target` in encoding(); a character
  // that encoding lacks is written as a character reference. The file is written under a temporary
  // name in the same folder and renamed over `target` only when complete and on disk. Throws
  // RunError naming `target` on failure; an earlier file there is then left as it was.
  void SaveAs(const std::filesystem::path& target) const;

  // The document in canonical form (C14N 1.0 with comments, UTF-8), for comparing two documents
  // whatever their encoding, quoting, CDATA sections or declarations. Throws RunError when the
  // document has none (a namespace with a relative URI).
  std::string CanonicalForm() const;

 private:
  SchoolDocument(void* document, std::string file_name, std::string encoding);
  void* document_;         // the libxml2 document, owned; null once moved from
  std::string file_name_;  // the source file (UTF-8), for messages
  std::string encoding_;
};

}  // namespace transzendal
