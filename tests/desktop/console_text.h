// Printing for the desktop test programs: wide text written as UTF-8 bytes, as they are (the C
// runtime's text mode would turn "\n" into "\r\n" under Wine).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

inline void Write(HANDLE to, std::wstring_view text) {
  const int wide = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, bytes.data(), size, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(to, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// One line on standard output.
inline void Print(std::wstring_view line) {
  Write(GetStdHandle(STD_OUTPUT_HANDLE), std::wstring(line) + L"\n");
}
