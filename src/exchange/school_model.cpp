#include "school_model.h"

#include <stdexcept>

#include "messages.h"
#include "text.h"

namespace transzendal {
namespace {

constexpr std::string_view kTeacherChildren[] = {"nombre", "nombreCompleto"};
constexpr std::string_view kRoomChildren[] = {"nombre"};
constexpr std::string_view kPeriodChildren[] = {"submarco",   "dia",        "indice",
                                                "horaEntrada", "horaSalida", "Tipo"};
constexpr std::string_view kGroupChildren[] = {"nombre", "nivel", "curso", "unidad"};
constexpr std::string_view kSessionChildren[] = {
    "materia", "profesor", "grupo", "tarea", "distribucionSemanal/distribucionVariable/numSesiones"};

const std::array<RecordSchema, kRecordKindCount> kSchemas = {{
    {RecordKind::kSubject, "materias/materia", true, {}, msg::kRecordSubject},
    {RecordKind::kTask, "tareas/tarea", true, {}, msg::kRecordTask},
    {RecordKind::kTeacher, "profesores/profesor", false, kTeacherChildren, msg::kRecordTeacher},
    {RecordKind::kRoom, "aulas/aula", false, kRoomChildren, msg::kRecordRoom},
    {RecordKind::kRoomSet, "conjuntoDeAulas/general", false, {}, msg::kRecordRoomSet},
    {RecordKind::kTimeFrame, "marcosDeHorario/marcoHorario", false, {}, msg::kRecordTimeFrame},
    {RecordKind::kPeriod, "marcosDeHorario/marcoHorario/tramo", false, kPeriodChildren,
     msg::kRecordPeriod},
    {RecordKind::kGroup, "grupos/grupo", false, kGroupChildren, msg::kRecordGroup},
    {RecordKind::kSession, "sesionesLectivas/sesion", false, kSessionChildren, msg::kRecordSession},
}};

}  // namespace

static_assert(std::size(kPeriodChildren) <= 6 && std::size(kSessionChildren) <= 6,
              "SchoolRecord keeps at most six children");

const RecordSchema& SchemaOf(RecordKind kind) { return kSchemas[static_cast<std::size_t>(kind)]; }

std::string DescribeRecord(const SchoolRecord& record) {
  return msg::FillMessage(msg::kRecordReference,
                          {SchemaOf(record.kind()).display_name, std::to_string(record.position() + 1),
                           std::to_string(record.line())});
}

SchoolRecord::SchoolRecord(RecordKind kind, int position, int line)
    : kind_(kind), position_(position), line_(line) {}

std::string_view SchoolRecord::Text() const { return Trim(View(own_text_)); }

std::string_view SchoolRecord::ChildText(std::string_view path) const {
  return Trim(RawChildText(path));
}

std::string_view SchoolRecord::RawChildText(std::string_view path) const {
  return View(children_[ChildIndex(path)]);
}

bool SchoolRecord::HasChild(std::string_view path) const {
  return (present_children_ >> ChildIndex(path)) & 1u;
}

std::vector<std::string_view> SchoolRecord::MissingChildren() const {
  std::vector<std::string_view> missing;
  const auto& names = SchemaOf(kind_).children;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (((present_children_ >> i) & 1u) == 0) missing.push_back(names[i]);
  }
  return missing;
}

std::optional<XmlAttribute> SchoolRecord::AttributeAt(std::size_t k) const {
  if (k >= attributes_.size()) return std::nullopt;
  return XmlAttribute{View(attributes_[k].first), View(attributes_[k].second)};
}

std::optional<std::string_view> SchoolRecord::Attribute(std::string_view name) const {
  for (const auto& [attribute_name, value] : attributes_) {
    if (View(attribute_name) == name) return Trim(View(value));
  }
  return std::nullopt;
}

void SchoolRecord::AddAttribute(std::string_view name, std::string_view value_utf8) {
  const Slice name_slice = AppendSlice(name);
  attributes_.emplace_back(name_slice, AppendSlice(value_utf8));
}

void SchoolRecord::AppendOwnText(std::string_view utf8) { Extend(own_text_, utf8); }

void SchoolRecord::StartChild(std::size_t child_index) {
  present_children_ = static_cast<std::uint8_t>(present_children_ | (1u << child_index));
  children_.at(child_index) = Slice{static_cast<std::uint32_t>(buffer_.size()), 0};
}

void SchoolRecord::AppendChildText(std::size_t child_index, std::string_view utf8) {
  Extend(children_.at(child_index), utf8);
}

SchoolRecord::Slice SchoolRecord::AppendSlice(std::string_view utf8) {
  Slice slice{static_cast<std::uint32_t>(buffer_.size()), 0};
  Extend(slice, utf8);
  return slice;
}

void SchoolRecord::Extend(Slice& slice, std::string_view utf8) {
  // Only the text started last may grow: it ends where the buffer ends.
  if (slice.size == 0) slice.offset = static_cast<std::uint32_t>(buffer_.size());
  if (slice.offset + slice.size != buffer_.size()) {
    throw std::logic_error("school record texts must be filled one at a time");
  }
  AppendUtf8AsWindows1252(utf8, buffer_);
  if (buffer_.size() > UINT32_MAX) throw std::length_error("school record texts beyond 4 GB");
  slice.size = static_cast<std::uint32_t>(buffer_.size() - slice.offset);
}

std::size_t SchoolRecord::ChildIndex(std::string_view path) const {
  const auto& names = SchemaOf(kind_).children;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == path) return i;
  }
  // A path outside the schema is a fault of the caller, not of the school file.
  throw std::logic_error("child path not kept by the school model: " + std::string(path));
}

const SchoolRecords& SchoolModel::Records(RecordKind kind) const {
  return records_[static_cast<std::size_t>(kind)];
}

SchoolRecords& SchoolModel::MutableRecords(RecordKind kind) {
  return records_[static_cast<std::size_t>(kind)];
}

}  // namespace transzendal
