#pragma once
// The hook receivers' events turned into the engine's: a key pressed or
// released (and whether a chord takes its key from the target), a mouse
// click, a window activated or destroyed.
#include <functional>

namespace corvane {

class TEngine;
class THtProgramHooks;

// Characters sent as characters (VK_PACKET): this program's, as a keyboard
// never gives them. The keys it sends by virtual key the engine knows again
// by their order (TOwnKeysDesktop).
bool IsSynthesisedKey(int virtualKey);

// `terminating` tells, when a window is destroyed, whether the program
// itself is ending.
void ConnectEngine(THtProgramHooks& hooks, TEngine& engine, std::function<bool()> terminating);

} // namespace corvane
