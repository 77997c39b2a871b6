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

const RecordSchema& SchemaOf(RecordKind kind) { return kSchemas[static_cast<std::size_t>(kind)]; }

std::string DescribeRecord(const SchoolRecord& record) {
  return msg::FillMessage(msg::kRecordReference,
                          {SchemaOf(record.kind()).display_name, std::to_string(record.position() + 1),
                           std::to_string(record.line())});
}

SchoolRecord::SchoolRecord(RecordKind kind, int position, int line)
    : kind_(kind), position_(position), line_(line), children_(SchemaOf(kind).children.size()) {}

std::string_view SchoolRecord::Text() const { return Trim(own_text_); }

std::string_view SchoolRecord::ChildText(std::string_view path) const {
  return Trim(RawChildText(path));
}

std::string_view SchoolRecord::RawChildText(std::string_view path) const {
  const auto& child = children_[ChildIndex(path)];
  return child ? std::string_view(*child) : std::string_view();
}

bool SchoolRecord::HasChild(std::string_view path) const {
  return children_[ChildIndex(path)].has_value();
}

std::vector<std::string_view> SchoolRecord::MissingChildren() const {
  std::vector<std::string_view> missing;
  const auto& names = SchemaOf(kind_).children;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!children_[i]) missing.push_back(names[i]);
  }
  return missing;
}

std::optional<std::string_view> SchoolRecord::Attribute(std::string_view name) const {
  for (const auto& attribute : attributes_) {
    if (attribute.name == name) return Trim(attribute.value);
  }
  return std::nullopt;
}

const XmlAttribute* SchoolRecord::AttributeAt(std::size_t k) const {
  return k < attributes_.size() ? &attributes_[k] : nullptr;
}

void SchoolRecord::AddAttribute(std::string name, std::string value) {
  attributes_.push_back({std::move(name), std::move(value)});
}

void SchoolRecord::StartChild(std::size_t child_index) { children_.at(child_index).emplace(); }

void SchoolRecord::AppendChildText(std::size_t child_index, std::string_view text) {
  children_.at(child_index).value() += text;
}

std::size_t SchoolRecord::ChildIndex(std::string_view path) const {
  const auto& names = SchemaOf(kind_).children;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == path) return i;
  }
  // A path outside the schema is a fault of the caller, not of the school file.
  throw std::logic_error("child path not kept by the school model: " + std::string(path));
}

const std::vector<SchoolRecord>& SchoolModel::Records(RecordKind kind) const {
  return records_[static_cast<std::size_t>(kind)];
}

std::vector<SchoolRecord>& SchoolModel::MutableRecords(RecordKind kind) {
  return records_[static_cast<std::size_t>(kind)];
}

}  // namespace transzendal
