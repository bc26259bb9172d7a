// The decision whether the running app refuses this setup for lack of rights.
#include "close_refusal.h"

#include <algorithm>

namespace gls {

bool refusedForRights(const std::vector<AskedWindow>& asked)
{
    return std::any_of(asked.begin(), asked.end(), [](const AskedWindow& w) {
        return w.request == Reach::RefusedForRights && w.process == Reach::RefusedForRights;
    });
}

} // namespace gls
