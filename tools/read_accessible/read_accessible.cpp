// Reads the setup window from another process as a screen reader does, and presses Tab or does a
// child's default action as a reader's user would, printing what the object then says.
// Usage: gls_read_accessible tree | tab | do <child id> ...   (the steps run in the order given)
//   tree        the client's name and description, then each child with its role, name, state,
//               value, default action and place on the screen
//   tab         posts the Tab key to the window and prints the child that get_accFocus names
//   do <id>     does that child's default action and prints its state and action afterwards
// The window is the setup's of this environment: the test mode's when GLIMMERLINE_SETUP_TEST
// names a folder. Exit: 0 done; 1 no window, no accessible object, or a step failed; 2 usage.
#include "accessible_reader.h"
#include "platform/com_apartment.h"
#include "platform/env.h"
#include "platform/text.h"

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>

namespace {

void print(const std::wstring& line)
{
    std::fputs(gls::toUtf8(line + L"\n").c_str(), stdout);
    std::fflush(stdout);
}

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring roleText(long role)
{
    if (role < 0) return L"(no role)";
    wchar_t text[128] = {};
    return ::GetRoleTextW(static_cast<DWORD>(role), text, 128) ? text : L"role " + std::to_wstring(role);
}

// The state's bits as the system words them, in the order of the bits.
std::wstring stateText(long state)
{
    if (state < 0) return L"(no state)";
    std::wstring words;
    for (int bit = 0; bit < 31; ++bit) {
        DWORD flag = 1u << bit;
        if (!(static_cast<DWORD>(state) & flag)) continue;
        wchar_t text[128] = {};
        if (!::GetStateTextW(flag, text, 128)) continue;
        words += (words.empty() ? L"" : L", ") + std::wstring(text);
    }
    return words.empty() ? L"normal" : words;
}

std::wstring placeText(const RECT& r)
{
    return L"at " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" size " +
           std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top);
}

// One child as a reader speaks it, on one line; value and action only where there are any.
std::wstring childText(const gls::AccessibleReader& reader, long id)
{
    std::wstring line = std::to_wstring(id) + L". " + roleText(reader.role(id)) + L" " +
                        quoted(reader.name(id)) + L" | state: " + stateText(reader.state(id));
    std::wstring value = reader.value(id);
    if (!value.empty()) line += L" | value: " + quoted(value);
    std::wstring action = reader.action(id);
    if (!action.empty()) line += L" | action: " + quoted(action);
    return line + L" | " + placeText(reader.location(id));
}

bool printTree(const gls::AccessibleReader& reader)
{
    std::vector<long> ids = reader.children();
    print(L"client: " + roleText(reader.role(CHILDID_SELF)) + L" " + quoted(reader.name(CHILDID_SELF)));
    print(L"  description: " + quoted(reader.description(CHILDID_SELF)));
    print(L"  " + std::to_wstring(ids.size()) + L" children:");
    for (long id : ids) print(L"    " + childText(reader, id));
    return !ids.empty();
}

void printFocus(const gls::AccessibleReader& reader)
{
    long id = reader.focus();
    if (id < 0) return print(L"  focus: none");
    if (id == CHILDID_SELF) return print(L"  focus: the client itself");
    print(L"  focus: " + childText(reader, id));
}

bool pressTab(HWND window, const gls::AccessibleReader& reader)
{
    // Marked as a first press (no previous-state bit): the window ignores a held key's repeats.
    if (!::PostMessageW(window, WM_KEYDOWN, VK_TAB, 1)) return false;
    gls::settleWindow(window);
    print(L"Tab");
    printFocus(reader);
    return true;
}

bool doDefaultAction(HWND window, const gls::AccessibleReader& reader, long id)
{
    std::wstring action = reader.action(id);
    print(L"do " + quoted(action) + L" on child " + std::to_wstring(id) + L" " + quoted(reader.name(id)));
    HRESULT hr = reader.client->accDoDefaultAction(gls::childVariant(id));
    if (FAILED(hr)) {
        wchar_t hex[16];
        std::swprintf(hex, 16, L"%08lX", static_cast<unsigned long>(hr));
        print(L"  refused: HRESULT 0x" + std::wstring(hex));
        return false;
    }
    // The action is posted to the window and runs as a click; ask once it has run.
    gls::settleWindow(window);
    print(L"  afterwards: " + childText(reader, id));
    return true;
}

HWND waitForWindow(const std::wstring& className)
{
    for (int i = 0; i < 200; ++i) {
        if (HWND window = ::FindWindowW(className.c_str(), nullptr)) return window;
        ::Sleep(100);
    }
    return nullptr;
}

bool isNumber(const wchar_t* text)
{
    if (!*text || std::wcslen(text) > 6) return false;
    for (const wchar_t* c = text; *c; ++c) {
        if (!std::iswdigit(*c)) return false;
    }
    return true;
}

int usage()
{
    std::fprintf(stderr, "usage: gls_read_accessible tree | tab | do <child id> ...\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return usage();
    for (int i = 1; i < argc; ++i) {
        bool known = std::wcscmp(argv[i], L"tree") == 0 || std::wcscmp(argv[i], L"tab") == 0 ||
                     (std::wcscmp(argv[i], L"do") == 0 && i + 1 < argc && isNumber(argv[++i]));
        if (!known) return usage();
    }
    gls::Checked<gls::Env> env = gls::buildEnv();
    if (!env.ok()) {
        print(env.problem);
        return 1;
    }
    HWND window = waitForWindow(env.value.setupWindowClass);
    if (!window) {
        print(L"no window of class " + env.value.setupWindowClass);
        return 1;
    }
    gls::ComApartment com;
    gls::AccessibleReader reader(window);
    if (!com.ok() || !reader.client) {
        print(L"the window serves no accessible object");
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        std::wstring step = argv[i];
        bool done = step == L"tree" ? printTree(reader)
                    : step == L"tab" ? pressTab(window, reader)
                                     : doDefaultAction(window, reader, std::wcstol(argv[++i], nullptr, 10));
        if (!done) return 1;
    }
    return 0;
}
