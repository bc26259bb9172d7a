// Moving the keyboard focus through a screen's controls.
#include "focus_order.h"

#include <algorithm>

namespace gls {

Target nextFocus(const std::vector<Target>& order, Target current, bool forward)
{
    if (order.empty()) return Target::None;
    auto at = std::find(order.begin(), order.end(), current);
    if (at == order.end()) return forward ? order.front() : order.back();
    std::size_t i = static_cast<std::size_t>(at - order.begin());
    std::size_t n = order.size();
    return order[forward ? (i + 1) % n : (i + n - 1) % n];
}

} // namespace gls
