// The resource identifier of the program's icon, shared by the resource scripts and the code that
// loads it. The lowest icon identifier of a program is the one Explorer shows for its file.
#pragma once

#define TRANSZENDAL_ICON_ID 1
