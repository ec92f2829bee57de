#pragma once
// Whether the element with the keyboard focus, in any program, is a password
// as UI Automation reports it (browsers, WPF, modern programs show password
// boxes that are no edit control). Asked once per change of focus, on a
// thread of its own that starts with the first question; until the answer
// for a new focus is in, the focus counts as a password.
namespace corvane::win32 {

bool FocusReportedAsPassword();

} // namespace corvane::win32
