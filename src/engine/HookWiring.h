#pragma once
// The hook receivers' events turned into the engine's: a key pressed or
// released (and whether a chord takes its key from the target), a mouse
// click, a window activated or destroyed.
#include <functional>

namespace corvane {

class TEngine;
class THtProgramHooks;

// Keys to treat as this program's own: sent without a scan code, or
// characters sent as characters (VK_PACKET). The hook library already drops
// the keys this program marks; this also covers keys sent by virtual key
// alone, which a keyboard never gives.
bool IsSynthesisedKey(int virtualKey, int scanCode);

// `terminating` tells, when a window is destroyed, whether the program
// itself is ending.
void ConnectEngine(THtProgramHooks& hooks, TEngine& engine, std::function<bool()> terminating);

} // namespace corvane
