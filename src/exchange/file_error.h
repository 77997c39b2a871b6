// What a failed file operation means, in Spanish, for the messages that name the file.
#pragma once

#include <string>
#include <system_error>

namespace transzendal {

// A short lower-case Spanish description of `error` ("el disco está lleno"); codes without their
// own text give their number.
std::string FileErrorText(std::error_code error);

}  // namespace transzendal
