#pragma once
// Steps of a delivery stamped on one clock, for the figures tools: nothing
// happens unless the program installs a sink (CORVANE_TRACE names a file).

namespace corvane {

using TTraceSink = void (*)(const char* step);

inline TTraceSink& TraceSink()
{
    static TTraceSink sink = nullptr;
    return sink;
}

inline void TraceStep(const char* step)
{
    if (const TTraceSink sink = TraceSink())
        sink(step);
}

} // namespace corvane
