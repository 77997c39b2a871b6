// The rooms table AULAT: one row per ordinary room (aula), then the numbered series of generic rooms
// that the first conjuntoDeAulas/general element describes (its first attribute the base name, its
// second the number of rooms).
#pragma once

#include <string>
#include <string_view>

#include "table_builder.h"

namespace transzendal {

// Creates AULAT (ABREV, NOMBRE, EDIFICIO, MAXALUM, CV_GENERICA). Throws RunError when the general
// element has fewer than two attributes, its second is no integer or asks for too many rooms.
void BuildRoomTable(ForwardRunContext& context);

// The code candidate of generic room `number` of the series `base`: base and number joined; when
// that has L > 10 characters, its first 19 - L characters and its last L - 9; then trimmed.
std::string GenericRoomCandidate(std::string_view base, int number);

}  // namespace transzendal
