// The paths the Live removal may act on, checked on the text a system call would receive.
#include "core/live_layout.h"

#include <gtest/gtest.h>

#include <string>

TEST(LiveLayout, OnlyTheScriptAndTheDeviceBelowAUserLibrary)
{
    using namespace std::string_literals;
    const std::wstring library = L"C:\\Users\\Ann\\Music\\User Library";
    struct Case {
        const char* what;
        std::wstring path;
        bool allowed;
    } cases[] = {
        {"script folder", gls::scriptFolderIn(library), true},
        {"device", gls::deviceFileIn(library, false), true},
        {"device script", gls::deviceFileIn(library, true), true},
        {"a library at a drive's root", gls::scriptFolderIn(L"C:\\User Library"), true},
        {"the library itself", library, false},
        {"the script folder's parent", library + L"\\Remote Scripts", false},
        {"a file beside the device", library + L"\\Presets\\Audio Effects\\Max Audio Effect\\Other.amxd", false},
        {"a relative library", gls::scriptFolderIn(L"Music\\User Library"), false},
        {"no folder named before the library", gls::scriptFolderIn(L"\\User Library"), false},
        {"cut short by a NUL", L"C:\\Users\\Ann\\thesis.docx\0\\User Library"s + L"\\Remote Scripts\\Glimmerline", false},
        {"a tab", gls::scriptFolderIn(L"C:\\Tab\there\\User Library"), false},
        {"a C1 control", gls::deviceFileIn(L"C:\\x\x85y\\User Library", false), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(gls::isLiveRemovalPath(c.path), c.allowed);
    }
    EXPECT_EQ(gls::scriptFolderIn(library), library + L"\\Remote Scripts\\Glimmerline");
    EXPECT_EQ(gls::deviceFileIn(library, true), library + L"\\Presets\\Audio Effects\\Max Audio Effect\\glimmerline_feed.js");
}
