// Starting and driving the real setup window, and reading the X screen.
#include "window_driver.h"

#include "platform/com_apartment.h"
#include "product_names.h"
#include "tools/read_accessible/accessible_reader.h"

#include <filesystem>
#include <system_error>

namespace gls::test {

WindowDriver::WindowDriver(const TestFolder& folder, const std::wstring& args, EnvOverrides extra)
    : process_(setupExePath(), args, [&] {
          extra.emplace_back(L"GLIMMERLINE_SETUP_TEST", folder.path());
          return extra;
      }())
{
    hwnd_ = StandInApp::waitForWindow(kTestSetupWindowClass, 20000);
    ::Sleep(600); // let it paint
}

DWORD WindowDriver::keyUntilExit(WPARAM vk, DWORD limitMs)
{
    for (DWORD waited = 0; waited < limitMs; waited += 300) {
        key(vk);
        DWORD code = process_.waitExit(300);
        if (code != STILL_ACTIVE) return code;
    }
    return STILL_ACTIVE;
}

void WindowDriver::settle()
{
    settleWindow(hwnd_);
}

void* WindowDriver::inSetup(const void* data, SIZE_T size)
{
    if (!setupMemory_) {
        setupMemory_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, pid()));
    }
    void* there = ::VirtualAllocEx(setupMemory_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    if (!there || !::WriteProcessMemory(setupMemory_.get(), there, data, size, &written) || written != size) return nullptr;
    return there;
}

SIZE WindowDriver::sizeForDpi(unsigned dpi)
{
    SIZE size = {0, 0};
    void* there = inSetup(&size, sizeof(size));
    DWORD_PTR answered = FALSE;
    SIZE_T read = 0;
    if (!there ||
        !::SendMessageTimeoutW(hwnd_, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(there), SMTO_ABORTIFHUNG,
                               5000, &answered) ||
        !answered || !::ReadProcessMemory(setupMemory_.get(), there, &size, sizeof(size), &read)) {
        return {0, 0};
    }
    return size;
}

bool WindowDriver::dpiChanged(unsigned dpi, const RECT& suggested)
{
    void* there = inSetup(&suggested, sizeof(suggested));
    DWORD_PTR ignored = 0;
    return there && ::SendMessageTimeoutW(hwnd_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(there),
                                          SMTO_ABORTIFHUNG, 5000, &ignored);
}

std::wstring screenTitle(HWND window)
{
    ComApartment com;
    return AccessibleReader(window).name(CHILDID_SELF);
}

HWND otherWindowOf(DWORD pid, HWND besides, DWORD limitMs)
{
    struct Search {
        DWORD pid;
        HWND besides, found;
    } search{pid, besides, nullptr};
    for (DWORD waited = 0; waited < limitMs && !search.found; waited += 100) {
        ::EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(w, &owner);
                if (owner != s->pid || w == s->besides || !::IsWindowVisible(w)) return TRUE;
                s->found = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (!search.found) ::Sleep(100);
    }
    return search.found;
}

std::string screenshotPixel(const std::wstring& name, POINT at)
{
    if (!underWine()) return {};
    std::wstring folder = buildDir() + L"\\screenshots";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::wstring png = folder + L"\\" + name + L".png";
    std::wstring txt = folder + L"\\" + name + L"-pixel.txt";
    ::DeleteFileW(txt.c_str());
    ::DeleteFileW(png.c_str());
    // The host programs write beside and rename when done: a picture read while it is still being
    // written has no whole header.
    std::string hostPng = unixPath(png), hostTxt = unixPath(txt);
    runHostCommand("import -window root '" + hostPng + ".part.png' && mv '" + hostPng + ".part.png' '" + hostPng + "'");
    runHostCommand("convert '" + hostPng + "' -crop 1x1+" + std::to_string(at.x) + "+" + std::to_string(at.y) +
                   " -depth 8 '" + hostTxt + ".part.txt' && mv '" + hostTxt + ".part.txt' '" + hostTxt + "'");
    // "0,0: (244,245,247)  #F4F5F7  srgb(...)" follows a comment line.
    std::string text = readFile(txt);
    size_t hash = text.find("  #");
    if (hash != std::string::npos) hash += 2;
    return hash == std::string::npos ? std::string() : text.substr(hash, 7);
}

} // namespace gls::test
