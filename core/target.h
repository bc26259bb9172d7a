// The elements of a screen that the user can act on: clicked, focused with Tab, or pressed by
// assistive technology.
#pragma once

#include <cstdint>

namespace gls {

enum class Target : std::int32_t { None = 0, Primary = 1, Secondary = 2, Checkbox = 3, Change = 4, License = 5 };

} // namespace gls
