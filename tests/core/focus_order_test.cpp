// Where Tab and Shift+Tab take the keyboard focus: in order, wrapping around, from no focus to
// the first or the last control. (The window tests press Tab for real; Shift cannot be posted.)
#include "core/focus_order.h"

#include <gtest/gtest.h>

using gls::Target;

TEST(FocusOrder, TabAndShiftTabWrapAroundTheControls)
{
    const std::vector<Target> welcome = {Target::Change, Target::Checkbox, Target::License, Target::Secondary,
                                         Target::Primary};
    struct Row {
        std::vector<Target> order;
        Target from;
        bool forward;
        Target to;
    } rows[] = {
        {welcome, Target::None, true, Target::Change},
        {welcome, Target::None, false, Target::Primary},
        {welcome, Target::Checkbox, true, Target::License},
        {welcome, Target::Checkbox, false, Target::Change},
        {welcome, Target::Primary, true, Target::Change},
        {welcome, Target::Change, false, Target::Primary},
        {{Target::Primary}, Target::Primary, true, Target::Primary},
        {{Target::Secondary, Target::Primary}, Target::Change, true, Target::Secondary}, // gone from the screen
        {{}, Target::None, true, Target::None}, // the progress screen
    };
    for (const Row& r : rows) {
        EXPECT_EQ(gls::nextFocus(r.order, r.from, r.forward), r.to)
            << static_cast<int>(r.from) << (r.forward ? " forward" : " back");
    }
}
