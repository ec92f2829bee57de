#include "shell/ImageSizes.h"

#include "shell/MainLayout.h"

namespace corvane {

int IconSizeAt(int units, int dpi)
{
    // Never larger than its place, so that a picture is not cut; a drawn size
    // is sharper than one Windows stretches.
    const int wanted = ScaleToDpi(units, dpi);
    int best = kDrawnIconSizes[0];
    for (const int size : kDrawnIconSizes)
        if (size <= wanted)
            best = size;
    return best;
}

} // namespace corvane
