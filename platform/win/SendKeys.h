#pragma once
// Keystroke synthesis: turns a key string into key presses and releases delivered to the
// widget that has the keyboard focus, as typing them would.

#include <string_view>

namespace win {

// Key string: plain characters type themselves; braces name a key ("{UP}", "{DOWN}",
// "{LEFT}", "{RIGHT}", "{HOME}", "{END}", "{PGUP}", "{PGDN}", "{INSERT}", "{DELETE}",
// "{ENTER}", "{TAB}", "{ESC}", "{BACKSPACE}", "{F1}".."{F12}"); "{{}" and "{}}" type a brace.
// Each key is pressed then released.  With Wait set, every event is handled before the
// routine goes on (and so before it returns); otherwise the events are queued for the event
// loop.  Answers false, sending nothing, for a string it cannot parse or when no widget has
// the focus.
bool SendKeys(std::string_view Keys, bool Wait);

}  // namespace win
