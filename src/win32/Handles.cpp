#include "win32/Handles.h"

#include <commctrl.h>

namespace corvane::win32 {

void ImageListTraits::Close(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }

} // namespace corvane::win32
