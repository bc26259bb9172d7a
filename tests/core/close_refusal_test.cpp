// Whether the running app refuses the setup for lack of rights, from what the calls on it gave.
#include "core/close_refusal.h"

#include <gtest/gtest.h>

using gls::AskedWindow;
using gls::Reach;

TEST(CloseRefusal, OnlyAWindowThatCanNeitherBeAskedNorEndedRefuses)
{
    const Reach ok = Reach::Reached, denied = Reach::RefusedForRights, failed = Reach::Failed;
    struct Row {
        const char* what;
        std::vector<AskedWindow> asked;
        bool refused;
    };
    const Row rows[] = {
        {"nothing asked yet", {}, false},
        {"the request reached the window", {{ok, ok}}, false},
        {"request refused, but the process can be ended", {{denied, ok}}, false},
        {"request refused, and the process refuses to be opened", {{denied, denied}}, true},
        {"request refused, the process is gone or not known", {{denied, failed}}, false},
        {"the window went away before the request", {{failed, ok}}, false},
        {"one instance reached, another one runs as administrator", {{ok, ok}, {denied, denied}}, true},
        {"two windows of one process as administrator", {{denied, denied}, {denied, denied}}, true},
        {"refused request and refused process on different windows", {{denied, ok}, {failed, denied}}, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(gls::refusedForRights(row.asked), row.refused) << row.what;
    }
}
