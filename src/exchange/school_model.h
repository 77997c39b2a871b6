// The school model: what the forward run needs of a Colvaria school file, read once.
//
// The model holds one SchoolRecord per record element of the file, per kind, in document order. A
// record keeps its attributes in start-tag order, its own text where the run reads it, and the text
// of the first child of each name that the run reads (first of each level for nested paths). All
// texts are Windows-1252 and untrimmed, as the file has them; the accessors that trim say so.
// Records are read by their own children, never by position in a document-wide list of children.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace transzendal {

// The kinds of record, each at a fixed absolute path below the root element datosZPH.
enum class RecordKind {
  kSubject,    // materias/materia (own text)
  kTask,       // tareas/tarea (own text)
  kTeacher,    // profesores/profesor: nombre, nombreCompleto
  kRoom,       // aulas/aula: nombre
  kRoomSet,    // conjuntoDeAulas/general: attributes
  kTimeFrame,  // marcosDeHorario/marcoHorario: attributes
  kPeriod,     // marcosDeHorario/marcoHorario/tramo: submarco, dia, indice, horaEntrada, ...
  kGroup,      // grupos/grupo: attribute submarco; nombre, nivel, curso, unidad
  kSession,    // sesionesLectivas/sesion: materia, profesor, grupo, tarea, .../numSesiones
};
inline constexpr std::size_t kRecordKindCount = 9;

// What the model keeps of one kind of record.
struct RecordSchema {
  RecordKind kind;
  std::string_view path;  // below datosZPH, steps separated by "/"
  bool keeps_own_text;
  std::span<const std::string_view> children;  // child paths, relative to the record element
  std::string_view display_name;               // Spanish, for the summary and messages
};
const RecordSchema& SchemaOf(RecordKind kind);

// An attribute as the record holds it: views into the record, valid as long as the record lives.
struct XmlAttribute {
  std::string_view name;
  std::string_view value;  // Windows-1252, untrimmed
};

class SchoolRecord {
 public:
  SchoolRecord(RecordKind kind, int position, int line);

  RecordKind kind() const { return kind_; }
  int position() const { return position_; }  // 0-based, among the records of its kind
  int line() const { return line_; }          // line of its start tag in the file
  // Position of the enclosing time frame for a period; -1 for every other record.
  int parent() const { return parent_; }

  // The record element's own text (all its character data), trimmed. Only for kinds that keep it.
  std::string_view Text() const;
  // The text of the child at `path` (one of the schema's child paths), trimmed; empty when missing.
  std::string_view ChildText(std::string_view path) const;
  // The same, untrimmed.
  std::string_view RawChildText(std::string_view path) const;
  bool HasChild(std::string_view path) const;
  // Child paths of the schema that this record lacks, in schema order.
  std::vector<std::string_view> MissingChildren() const;

  // The attributes, in start-tag order, values untrimmed.
  std::size_t attribute_count() const { return attributes_.size(); }
  // The k-th attribute (0-based) in start-tag order, or nothing when there is none.
  std::optional<XmlAttribute> AttributeAt(std::size_t k) const;
  // The value of the attribute of that exact name, trimmed; nothing when absent.
  std::optional<std::string_view> Attribute(std::string_view name) const;

  // Filled by the reader, from UTF-8; a child index is a position in the schema's child paths.
  // Texts are stored one after the other in one buffer, so the reader appends to one text at a
  // time: the own text, or the child it started last (no schema path lies inside another).
  void set_parent(int parent) { parent_ = parent; }
  void AddAttribute(std::string_view name, std::string_view value_utf8);
  void AppendOwnText(std::string_view utf8);
  void StartChild(std::size_t child_index);
  void AppendChildText(std::size_t child_index, std::string_view utf8);

 private:
  // A text inside buffer_.
  struct Slice {
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
  };
  static constexpr std::size_t kMaxChildren = 6;

  std::string_view View(Slice slice) const {
    return std::string_view(buffer_).substr(slice.offset, slice.size);
  }
  Slice AppendSlice(std::string_view utf8);
  void Extend(Slice& slice, std::string_view utf8);
  std::size_t ChildIndex(std::string_view path) const;

  RecordKind kind_;
  int position_;
  int line_;
  int parent_ = -1;
  std::string buffer_;  // every text of the record, Windows-1252
  Slice own_text_;
  std::array<Slice, kMaxChildren> children_{};
  std::uint8_t present_children_ = 0;  // bit i: child i was found
  std::vector<std::pair<Slice, Slice>> attributes_;
};

// Names a record for the user: "sesión n.º 12 (línea 340)" (its position counted from 1).
std::string DescribeRecord(const SchoolRecord& record);

// The records of each kind, in document order; a deque, so that records never move as the
// reader adds more (and references to them stay valid).
using SchoolRecords = std::deque<SchoolRecord>;

class SchoolModel {
 public:
  const SchoolRecords& Records(RecordKind kind) const;
  SchoolRecords& MutableRecords(RecordKind kind);

 private:
  std::array<SchoolRecords, kRecordKindCount> records_;
};

}  // namespace transzendal
