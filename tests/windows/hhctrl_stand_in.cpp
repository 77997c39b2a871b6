// A stand-in for HTML Help's HHCtrl.ocx, for the Windows tests of the program's help: HtmlHelpA
// appends every call to the file named by the environment variable TRANSZENDAL_HHCTRL_LOG, one
// line per call: "ventana=<0|1> orden=<command> archivo=<file|(nulo)> dato=<data>", the data
// being the keyword's text for HH_DISPLAY_INDEX (2) and the number otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" __declspec(dllexport) HWND WINAPI HtmlHelpA(HWND window, LPCSTR file, UINT command,
                                                      DWORD_PTR data) {
  const char* log = std::getenv("TRANSZENDAL_HHCTRL_LOG");
  if (log == nullptr) return nullptr;
  const std::string data_text = command == 2 && data != 0 ? reinterpret_cast<const char*>(data)
                                                          : std::to_string(data);
  const std::string line = "ventana=" + std::string(window != nullptr ? "1" : "0") +
                           " orden=" + std::to_string(command) +
                           " archivo=" + (file != nullptr ? file : "(nulo)") + " dato=" + data_text +
                           "\n";
  if (std::FILE* out = std::fopen(log, "ab")) {
    std::fwrite(line.data(), 1, line.size(), out);
    std::fclose(out);
  }
  return nullptr;
}
