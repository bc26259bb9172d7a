// The Direct2D factory, made by d2d1.dll of the system folder.
#pragma once

#include "platform/unique_handle.h"

#include <d2d1.h>

namespace gls {

// A single-threaded factory; false when the library or the factory cannot be had.
bool createD2DFactory(ComPtr<ID2D1Factory>& factory);

} // namespace gls
