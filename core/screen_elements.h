// What a screen shows, element by element in reading order, for assistive technology: each
// text and control with what it is, its name and its place, from the same layout that the
// painter and the hit testing use.
#pragma once

#include "screen_layout.h"
#include "target.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gls {

enum class ElementKind : std::int32_t { Title, Body, ProgressBar, Folder, Notice, Acceptance, Control };

struct ScreenElement {
    ElementKind kind;
    Target target = Target::None; // a control's target; none for texts and the progress bar
    std::wstring name;
    std::wstring value; // the progress bar's percentage
    Rect rect;          // in the design space
    bool checked = false;
};

// Title and body come first on every screen; the controls follow in the order Tab goes.
std::vector<ScreenElement> screenElements(const ScreenState& state, const ScreenLayout& layout);

// The targets of the controls among the elements, in their order.
std::vector<Target> focusOrder(const std::vector<ScreenElement>& elements);

} // namespace gls
