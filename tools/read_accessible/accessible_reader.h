// A window's accessible object read from another process, as a screen reader reads it: the
// client object's answers about itself and about each of its simple children.
#pragma once

#include "platform/unique_handle.h"

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace gls {

// The VARIANT that names a child by its id, or the object itself with CHILDID_SELF.
VARIANT childVariant(long id);

// Every question takes a child id; an answer the object does not give reads empty, or -1.
struct AccessibleReader {
    ComPtr<IAccessible> client; // empty when the window serves no object for its client area

    explicit AccessibleReader(HWND window);
    std::wstring name(long id) const;
    std::wstring description(long id) const;
    std::wstring value(long id) const;
    std::wstring action(long id) const;
    long role(long id) const;
    long state(long id) const;
    // The focused child's id, CHILDID_SELF for the object itself, -1 when nothing has the focus.
    long focus() const;
    RECT location(long id) const;
    // The child ids as a reader enumerates them.
    std::vector<long> children() const;
};

// Returns once the window's thread has taken what was posted to it so far: a thread takes sent
// messages before posted ones, so the second round trip waits for the posted ones.
void settleWindow(HWND window);

} // namespace gls
