// Where Tab and Shift+Tab move the keyboard focus. Pure rules, free of the platform.
#pragma once

#include "target.h"

#include <vector>

namespace gls {

// The next target in the order (forward: Tab) or the one before (Shift+Tab), wrapping around;
// with no focus yet, Tab takes the first and Shift+Tab the last. None when the order is empty.
Target nextFocus(const std::vector<Target>& order, Target current, bool forward);

} // namespace gls
