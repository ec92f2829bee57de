#pragma once
// The hook receivers' events turned into the engine's: a key pressed or
// released (and whether a chord takes its key from the target), a mouse
// click, a window activated or destroyed.
#include <functional>

namespace corvane {

class TEngine;
class THtProgramHooks;

// `terminating` tells, when a window is destroyed, whether the program
// itself is ending.
void ConnectEngine(THtProgramHooks& hooks, TEngine& engine, std::function<bool()> terminating);

} // namespace corvane
