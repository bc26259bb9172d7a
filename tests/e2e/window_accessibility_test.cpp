// The real setup window read and operated from another process through Active Accessibility,
// as a screen reader does: every element of the welcome, installed, error and remove screens
// with its name, role, state and place, the default actions, the keyboard focus with its ring,
// and the events that make a reader speak.
#include "core/screen_layout.h"
#include "core/screen_texts.h"
#include "e2e_fixture.h"
#include "platform/com_apartment.h"
#include "platform/system_checks.h"
#include "product_names.h"
#include "tools/read_accessible/accessible_reader.h"
#include "ui/fonts.h"
#include "ui/painter.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace gls::test;

namespace {

using SetupAccessibility = SetupRun;

using Reader = gls::AccessibleReader;
using gls::childVariant;

// Waits until the client object reads as the screen with that title.
bool waitForScreen(const Reader& reader, const std::wstring& title, DWORD limitMs = 30000)
{
    for (DWORD waited = 0; waited < limitMs; waited += 100) {
        if (reader.name(CHILDID_SELF) == title) return true;
        ::Sleep(100);
    }
    return false;
}

// The events the setup raises, through an out-of-context hook on its process; the hook is
// called through this thread's messages, so waiting handles them.
struct WinEvent {
    DWORD event;
    LONG object, child;
};
std::vector<WinEvent> gEvents;

void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD)
{
    gEvents.push_back({event, object, child});
}

class EventHook {
public:
    explicit EventHook(DWORD pid)
        : hook_(::SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr, recordEvent, pid, 0,
                                  WINEVENT_OUTOFCONTEXT))
    {
        gEvents.clear();
    }
    ~EventHook() { ::UnhookWinEvent(hook_); }
    EventHook(const EventHook&) = delete;
    EventHook& operator=(const EventHook&) = delete;

    bool waitFor(DWORD event, LONG child, DWORD limitMs = 10000)
    {
        for (ULONGLONG start = ::GetTickCount64();;) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
            for (const WinEvent& e : gEvents) {
                if (e.event == event && e.object == OBJID_CLIENT && e.child == child) return true;
            }
            if (::GetTickCount64() - start > limitMs) return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }

private:
    HWINEVENTHOOK hook_;
};

// One element as a reader must find it; its place comes from the test's own layout of the
// screen, its texts measured with the same fonts as the setup's. An empty name stands for a
// text the test does not know (the job's own error message) and must not be empty.
using Place = gls::Rect (*)(const gls::ScreenLayout&);
struct Expected {
    long role;
    std::wstring name;
    long state;
    Place place;
};

struct ScreenCase {
    gls::ScreenState state; // what moves the elements: the screen and its labels
    std::vector<Expected> elements;
};

constexpr long kText = STATE_SYSTEM_READONLY;
constexpr long kControl = STATE_SYSTEM_FOCUSABLE;
constexpr long kLink = kControl | STATE_SYSTEM_LINKED;
constexpr long kDefault = kControl | STATE_SYSTEM_DEFAULT;

constexpr Place kTitle = [](const gls::ScreenLayout& l) { return l.title; };
constexpr Place kBody = [](const gls::ScreenLayout& l) { return l.body; };
constexpr Place kNotice = [](const gls::ScreenLayout& l) { return l.notice; };
constexpr Place kCheckbox = [](const gls::ScreenLayout& l) { return l.checkbox(); };
constexpr Place kSecondary = [](const gls::ScreenLayout& l) { return l.secondary(); };
constexpr Place kPrimary = [](const gls::ScreenLayout& l) { return l.primary(); };

ScreenCase expectedScreen(gls::Screen screen, const std::wstring& installFolder)
{
    ScreenCase c;
    c.state.screen = screen;
    c.state.installFolder = installFolder;
    c.state.uninstalling = screen == gls::Screen::RemoveConfirm;
    // The tests run the welcome screen without Media Foundation, so it always has a notice: the
    // Windows one where the build is older than 2004 (as Wine reports), else that one.
    c.state.mediaFeaturePackMissing = true;
    c.state.osBuild = gls::windowsBuild();
    switch (screen) {
    case gls::Screen::Welcome:
        c.elements = {
            {ROLE_SYSTEM_STATICTEXT, L"Install Glimmerline", kText, kTitle},
            {ROLE_SYSTEM_STATICTEXT, L"Spectral waveforms in Ableton Live's arrangement and clip view.", kText, kBody},
            {ROLE_SYSTEM_STATICTEXT, L"Install folder: " + installFolder, kText,
             [](const gls::ScreenLayout& l) { return l.folderPath; }},
            {ROLE_SYSTEM_LINK, L"Change\u2026", kLink, [](const gls::ScreenLayout& l) { return l.change(); }},
            {ROLE_SYSTEM_CHECKBUTTON, L"Add a shortcut to the desktop", kControl, kCheckbox},
            {ROLE_SYSTEM_STATICTEXT, gls::noticeText(c.state), kText, kNotice},
            {ROLE_SYSTEM_STATICTEXT, L"By installing you accept the", kText,
             [](const gls::ScreenLayout& l) { return l.accept; }},
            {ROLE_SYSTEM_LINK, L"License Agreement", kLink, [](const gls::ScreenLayout& l) { return l.license(); }},
            {ROLE_SYSTEM_PUSHBUTTON, L"Cancel", kControl, kSecondary},
            {ROLE_SYSTEM_PUSHBUTTON, L"Install", kDefault, kPrimary},
        };
        break;
    case gls::Screen::Done:
        c.elements = {
            {ROLE_SYSTEM_STATICTEXT, L"Glimmerline is installed", kText, kTitle},
            {ROLE_SYSTEM_STATICTEXT,
             L"Two steps are left in Live: in Settings > Display & Input, switch on Enable GPU Renderer and restart "
             L"Live; then pick Glimmerline as a Control Surface in Settings > Tempo & MIDI.",
             kText, kBody},
            {ROLE_SYSTEM_CHECKBUTTON, L"Open Glimmerline", kControl | STATE_SYSTEM_CHECKED, kCheckbox},
            {ROLE_SYSTEM_PUSHBUTTON, L"Done", kDefault, kPrimary},
        };
        break;
    case gls::Screen::Error:
        c.elements = {
            {ROLE_SYSTEM_STATICTEXT, L"Glimmerline was not installed", kText, kTitle},
            {ROLE_SYSTEM_STATICTEXT, L"", kText, kBody},
            {ROLE_SYSTEM_PUSHBUTTON, L"Back", kControl, kSecondary},
            {ROLE_SYSTEM_PUSHBUTTON, L"Close", kDefault, kPrimary},
        };
        break;
    default: // the remove screen
        c.elements = {
            {ROLE_SYSTEM_STATICTEXT, L"Remove Glimmerline", kText, kTitle},
            {ROLE_SYSTEM_STATICTEXT,
             L"This removes the app, its shortcuts and its script in Live's User Library. Live and your sets stay as "
             L"they are.",
             kText, kBody},
            {ROLE_SYSTEM_CHECKBUTTON, L"Also remove my Glimmerline settings", kControl, kCheckbox},
            {ROLE_SYSTEM_STATICTEXT,
             L"Keep them if you may come back: Glimmerline then starts with your colours and layouts as you left them.",
             kText, kNotice},
            {ROLE_SYSTEM_PUSHBUTTON, L"Cancel", kControl, kSecondary},
            {ROLE_SYSTEM_PUSHBUTTON, L"Remove", kDefault, kPrimary},
        };
        break;
    }
    return c;
}

// Every element in reading order, with the place where the setup draws it on the screen.
void expectScreen(HWND window, const Reader& reader, const ScreenCase& expected)
{
    gls::FontChoice fonts;
    ASSERT_TRUE(gls::chooseFonts(fonts));
    gls::Painter measurer{nullptr, &fonts, gls::kLightPalette, nullptr};
    gls::ScreenLayout layout = gls::layoutScreen(expected.state, gls::measuring(measurer));
    POINT origin = {0, 0};
    ::ClientToScreen(window, &origin); // one DIP is one pixel on the bench's display

    std::vector<long> ids = reader.children();
    ASSERT_EQ(ids.size(), expected.elements.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        const Expected& e = expected.elements[i];
        long id = static_cast<long>(i) + 1;
        SCOPED_TRACE("child " + std::to_string(id) + ": " + narrow(e.name));
        EXPECT_EQ(ids[i], id);
        EXPECT_EQ(reader.role(id), e.role);
        std::wstring name = reader.name(id);
        if (e.name.empty()) {
            EXPECT_FALSE(name.empty());
        } else {
            EXPECT_EQ(name, e.name);
        }
        EXPECT_EQ(reader.state(id), e.state);
        gls::Rect r = e.place(layout);
        RECT where = reader.location(id);
        EXPECT_EQ(where.left, origin.x + std::lround(r.left));
        EXPECT_EQ(where.top, origin.y + std::lround(r.top));
        EXPECT_EQ(where.right, origin.x + std::lround(r.right));
        EXPECT_EQ(where.bottom, origin.y + std::lround(r.bottom));
    }
}

} // namespace

TEST_F(SetupAccessibility, WelcomeAndInstalledScreensAreReadAndOperatedAsClicksWould)
{
    gls::ComApartment com;
    WindowDriver window(folder, L"", {{L"GLIMMERLINE_SETUP_TEST_NOMF", L"1"}});
    ASSERT_NE(window.hwnd(), nullptr);
    EventHook events(window.pid());
    Reader reader(window.hwnd());
    ASSERT_TRUE(reader.client);
    EXPECT_EQ(reader.name(CHILDID_SELF), L"Install Glimmerline");
    expectScreen(window.hwnd(), reader, expectedScreen(gls::Screen::Welcome, installDir()));

    // Tab takes the focus through the controls in reading order, and the ring shows around it.
    window.key(VK_TAB);
    EXPECT_TRUE(events.waitFor(EVENT_OBJECT_FOCUS, 4));
    EXPECT_EQ(reader.focus(), 4); // "Change…"
    EXPECT_EQ(reader.state(4), kLink | STATE_SYSTEM_FOCUSED);
    for (int i = 0; i < 4; ++i) window.key(VK_TAB);
    EXPECT_TRUE(events.waitFor(EVENT_OBJECT_FOCUS, 10));
    EXPECT_EQ(reader.focus(), 10); // "Install"
    if (underWine()) {
        RECT install = reader.location(10);
        POINT ring = {install.left - 3, (install.top + install.bottom) / 2};
        std::string pixel;
        for (int i = 0; i < 20 && pixel != "#17191C"; ++i) pixel = screenshotPixel(L"window-focus-ring", ring);
        EXPECT_EQ(pixel, "#17191C");
        EXPECT_EQ(screenshotPixel(L"window-focus-ring", {ring.x + 2, ring.y}), "#F4F5F7"); // the gap
    }

    // The checkbox's default action ticks it as a click would, and says so.
    EXPECT_EQ(reader.action(5), L"Check");
    EXPECT_EQ(reader.client->accDoDefaultAction(childVariant(5)), S_OK);
    EXPECT_TRUE(events.waitFor(EVENT_OBJECT_STATECHANGE, 5));
    EXPECT_EQ(reader.state(5), kControl | STATE_SYSTEM_CHECKED);
    EXPECT_EQ(reader.action(5), L"Uncheck");

    // The primary's runs the install; the progress bar's value moves as it goes.
    EXPECT_EQ(reader.action(10), L"Press");
    EXPECT_EQ(reader.client->accDoDefaultAction(childVariant(10)), S_OK);
    EXPECT_TRUE(events.waitFor(EVENT_OBJECT_VALUECHANGE, 3));
    ASSERT_TRUE(waitForScreen(reader, L"Glimmerline is installed"));
    expectScreen(window.hwnd(), reader, expectedScreen(gls::Screen::Done, installDir()));
    EXPECT_TRUE(exists(folder / kTestDesktopShortcut)); // the ticked choice was used

    EXPECT_EQ(reader.client->accDoDefaultAction(childVariant(4)), S_OK); // "Done"
    EXPECT_EQ(window.waitExit(), 0u);
    EXPECT_TRUE(exists(folder / L"launched.txt"));
}

TEST_F(SetupAccessibility, ErrorAndRemoveScreensAreReadTooAndTheObjectOutlivesTheWindowSafely)
{
    gls::ComApartment com;
    {
        ASSERT_TRUE(writeFile(folder / L"LocalAppData\\Programs", "in the way")); // the install cannot write
        WindowDriver window(folder);
        ASSERT_NE(window.hwnd(), nullptr);
        Reader reader(window.hwnd());
        ASSERT_TRUE(reader.client);
        window.key(VK_RETURN); // "Install"
        ASSERT_TRUE(waitForScreen(reader, L"Glimmerline was not installed"));
        expectScreen(window.hwnd(), reader, expectedScreen(gls::Screen::Error, installDir()));
        EXPECT_EQ(reader.client->accDoDefaultAction(childVariant(4)), S_OK); // "Close"
        EXPECT_EQ(window.waitExit(), 1u);
    }
    ASSERT_TRUE(::DeleteFileW((folder / L"LocalAppData\\Programs").c_str()));
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    WindowDriver window(folder, L"/uninstall");
    ASSERT_NE(window.hwnd(), nullptr);
    Reader reader(window.hwnd());
    ASSERT_TRUE(reader.client);
    expectScreen(window.hwnd(), reader, expectedScreen(gls::Screen::RemoveConfirm, installDir()));
    EXPECT_EQ(reader.client->accDoDefaultAction(childVariant(5)), S_OK); // "Cancel"
    EXPECT_EQ(window.waitExit(), 2u);
    // A reader that still holds the object is told that it is gone, and nothing breaks.
    long count = 0;
    EXPECT_TRUE(FAILED(reader.client->get_accChildCount(&count)));
    EXPECT_TRUE(exists(appExeIn(installDir())));
}

// A window started in another language reads in it to a screen reader, names and default actions,
// and works as in English: Japanese is cancelled, German installs.
TEST_F(SetupAccessibility, WindowInAnotherLanguageIsReadInIt)
{
    struct Row {
        const wchar_t *tag, *title, *change, *checkbox, *check, *cancel, *install, *press, *installed, *done;
    } rows[] = {
        {L"ja", L"Glimmerline \u306e\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb", L"\u5909\u66f4\u2026",
         L"\u30c7\u30b9\u30af\u30c8\u30c3\u30d7\u306b\u30b7\u30e7\u30fc\u30c8\u30ab\u30c3\u30c8\u3092\u8ffd\u52a0",
         L"\u30c1\u30a7\u30c3\u30af\u3059\u308b", L"\u30ad\u30e3\u30f3\u30bb\u30eb",
         L"\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb", L"\u62bc\u3059", nullptr, nullptr},
        {L"de", L"Glimmerline installieren", L"\u00c4ndern\u2026", L"Desktopverkn\u00fcpfung erstellen", L"Aktivieren",
         L"Abbrechen", L"Installieren", L"Dr\u00fccken", L"Glimmerline ist installiert", L"Fertig"},
    };
    gls::ComApartment com;
    for (const Row& r : rows) {
        SCOPED_TRACE(narrow(r.tag));
        TestFolder own;
        WindowDriver window(own, std::wstring(L"/LANG=") + r.tag, {{L"GLIMMERLINE_SETUP_TEST_NOMF", L"1"}});
        ASSERT_NE(window.hwnd(), nullptr);
        Reader reader(window.hwnd());
        ASSERT_TRUE(reader.client);
        EXPECT_EQ(reader.name(CHILDID_SELF), r.title);
        EXPECT_EQ(reader.name(4), r.change);
        EXPECT_EQ(reader.name(5), r.checkbox);
        EXPECT_EQ(reader.action(5), r.check);
        EXPECT_EQ(reader.name(9), r.cancel);
        EXPECT_EQ(reader.name(10), r.install);
        EXPECT_EQ(reader.action(10), r.press);
        if (!r.installed) {
            EXPECT_EQ(reader.client->accDoDefaultAction(childVariant(9)), S_OK);
            EXPECT_EQ(window.waitExit(), 2u);
            continue;
        }
        EXPECT_EQ(reader.client->accDoDefaultAction(childVariant(10)), S_OK);
        ASSERT_TRUE(waitForScreen(reader, r.installed));
        EXPECT_TRUE(exists(appExeIn(own / kTestInstallDir)));
        EXPECT_EQ(reader.name(4), r.done);
        EXPECT_EQ(reader.client->accDoDefaultAction(childVariant(4)), S_OK);
        EXPECT_EQ(window.waitExit(), 0u);
    }
}
