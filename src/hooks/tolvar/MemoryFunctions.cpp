// The hook library links no C runtime, but the compiler still emits calls to
// these for copying and clearing whole structures. The target is built with
// -fno-tree-loop-distribute-patterns, so these loops are not turned back into
// calls to themselves.
#include <cstddef>

extern "C" {

void* memcpy(void* destination, const void* source, std::size_t count)
{
    auto* to = static_cast<unsigned char*>(destination);
    const auto* from = static_cast<const unsigned char*>(source);
    for (std::size_t i = 0; i < count; ++i)
        to[i] = from[i];
    return destination;
}

void* memset(void* destination, int value, std::size_t count)
{
    auto* to = static_cast<unsigned char*>(destination);
    for (std::size_t i = 0; i < count; ++i)
        to[i] = static_cast<unsigned char>(value);
    return destination;
}

} // extern "C"
