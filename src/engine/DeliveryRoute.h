#pragma once
// The ways a reply reaches another program, as the usage figures count them.

namespace corvane {

enum class TRoute { Macro, HotKey, Insert, Picker, Drag, PasteLast, Copy };
inline constexpr int kRouteCount = 7;

// One delivery: its route, the characters typed to get it (a macro and its
// ending key; 0 for the other routes) and the characters it put in.
struct TDelivery {
    TRoute route = TRoute::Insert;
    long long charsTyped = 0;
    long long charsIn = 0;
};

} // namespace corvane
