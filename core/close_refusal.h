// Whether the running app refuses this setup for lack of rights, or may still close.
#pragma once

#include <cstdint>
#include <vector>

namespace gls {

// What one call on the app gave: the close request posted to a window, or the opening of the
// window's process to end it.
enum class Reach : std::uint8_t {
    Reached,          // the call went through
    RefusedForRights, // the system refused it for lack of rights (access denied)
    Failed,           // any other failure: a window or process that is gone, an owner not known
};

// One window of the app that was asked to close. Its process is only tried when the request was
// refused; until then it counts as reached.
struct AskedWindow {
    Reach request = Reach::Reached;
    Reach process = Reach::Reached;
};

// True when a window refused the close request for lack of rights and its process cannot be opened
// to be ended for the same reason. An app started as administrator is such an app: no request
// reaches it, no waiting helps and no end is allowed, so only the user can close it. Any other
// case may still close, or be ended, and is waited for as before.
bool refusedForRights(const std::vector<AskedWindow>& asked);

} // namespace gls
