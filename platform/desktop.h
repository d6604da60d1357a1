#pragma once
// The application's mouse cursor and the compiled-help viewer.
#include <string_view>

namespace vt::platform {

// The cursor the application shows over its windows.
enum class ScreenCursor { Default, Wait };

// Windows: the thread's cursor (SetCursor / GetCursor with the arrow and the
// hourglass). POSIX has no pointer: the value is kept for the process, so that
// what was asked for can be read back.
void setScreenCursor(ScreenCursor cursor);
ScreenCursor screenCursor();

// Opens a compiled help file at a help context, owned by the active window.
// Windows: the HTML Help viewer (HtmlHelpW of hhctrl.ocx, HH_HELP_CONTEXT).
// POSIX: the program "hh.exe" found as the shell finds a bare program name
// (launcher folder, then C:\Windows\System32\) with "-mapid <context> <file>".
// True when the viewer started.
bool openHelpContext(std::string_view file, int context);

} // namespace vt::platform
