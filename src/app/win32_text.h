// Texts between the converter (UTF-8) and the wide-character Win32 API.
#pragma once

#include <string>
#include <string_view>

namespace transzendal::app {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace transzendal::app
