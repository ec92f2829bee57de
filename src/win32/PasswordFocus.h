#pragma once
// Whether the element with the keyboard focus, in any program, is a password
// as UI Automation reports it (browsers, WPF, modern programs show password
// boxes that are no edit control). Asked once per change of focus, on a
// thread of its own that starts with the first question; until the answer
// for a new focus is in, the focus counts as a password.
#include <functional>

namespace corvane::win32 {

bool FocusReportedAsPassword();

// Starts the watcher if need be and calls `changed` with the answer above
// as it is; from then on the watcher's thread calls it each time the answer
// changes. A later call replaces it (an empty one ends the calls); once that
// returns, the one replaced is not running.
void WatchPasswordFocus(std::function<void(bool password)> changed);

} // namespace corvane::win32
