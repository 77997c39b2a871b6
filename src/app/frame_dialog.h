// The time-frame dialog Plantillas: the frames of the school file (ListBox2, extended selection
// with Ctrl and Shift), the Monday periods of the frame last clicked (ListBox1) and "Continuar".
// Every way of closing it (the button, Enter, the close box, the system menu, Alt+F4) applies the
// closing rule of the frame choice, showing its message while the dialog is still on the screen.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "program_help.h"
#include "user_interface.h"

namespace transzendal::app {

// Shows the dialog modally over `owner`, its lists filled once from `options`; F1 asks `help`. Returns the chosen
// positions in list order when the rule accepted the choice (one or two frames), or nothing after
// the rule's message: the caller shows a new dialog, with nothing selected.
std::optional<std::vector<std::size_t>> ChooseFramesInDialog(
    HINSTANCE instance, HWND owner, ProgramHelp& help, std::span<const TimeFrameOption> options);

}  // namespace transzendal::app
