// Mouse and keys on the drawn elements, the folder picker behind "Change…" and the license view.
#include "window.h"

#include "core/palette.h"
#include "core/path_join.h"
#include "core/resource_ids.h"
#include "folder_pick.h"
#include "painter.h"
#include "platform/env.h"
#include "platform/log.h"

#include <shellapi.h>
#include <shobjidl.h>
#include <windowsx.h>

namespace gls {

Target Window::hitTest(LPARAM position)
{
    // Only DirectWrite is needed to lay the screen out, so a click that comes while the render
    // target is gone (a device loss, a DPI or display change) still finds its element.
    ScreenLayout layout = currentLayout();
    float x = static_cast<float>(GET_X_LPARAM(position)) / scale_;
    float y = static_cast<float>(GET_Y_LPARAM(position)) / scale_;
    for (int t = 1; t <= 5; ++t) {
        const Rect& r = layout.clickable[t];
        if (layout.present[t] && r.left <= x && x < r.right && r.top <= y && y < r.bottom)
            return static_cast<Target>(t);
    }
    return Target::None;
}

void Window::onMouseMove(LPARAM position)
{
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd_, 0};
        trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
    }
    Target target = state_.screen == Screen::Progress ? Target::None : hitTest(position);
    if (target != hover_) {
        hover_ = target;
        ::InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void Window::onButtonDown(LPARAM position)
{
    if (state_.screen == Screen::Progress) return;
    pressed_ = hitTest(position);
    ::SetCapture(hwnd_);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Window::onButtonUp(LPARAM position)
{
    ::ReleaseCapture();
    Target target = hitTest(position);
    Target wasPressed = pressed_;
    pressed_ = Target::None;
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    // A click only when the button went down and up on the same element.
    if (target != Target::None && target == wasPressed && state_.screen != Screen::Progress) click(target);
}

void Window::click(Target target)
{
    if (modal_) return;
    switch (target) {
    case Target::Primary: onPrimary(); break;
    case Target::Secondary: onSecondary(); break;
    case Target::Checkbox: toggleCheckbox(); break;
    case Target::Change: pickFolder(); break;
    case Target::License: showLicense(); break;
    case Target::None: break;
    }
}

void Window::onKey(WPARAM key, LPARAM flags)
{
    // A held key repeats; only its first press acts, so that holding Enter never walks through
    // the next screen too.
    if (flags & (1 << 30)) return;
    Screen s = state_.screen;
    if (s == Screen::Progress || modal_) return;
    if (key == VK_TAB) {
        // The keyboard is in use: focus cues show from now on, as in the system's own windows.
        ::SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        moveFocus(::GetKeyState(VK_SHIFT) >= 0);
        return;
    }
    // Enter and Space act on the focused element as a click would; without a focus they keep
    // their meaning for the screen.
    if ((key == VK_RETURN || key == VK_SPACE) && focus_ != Target::None && currentLayout().has(focus_)) {
        click(focus_);
        return;
    }
    if (key == VK_RETURN) {
        onPrimary();
    } else if (key == VK_ESCAPE) {
        // Escape never means "Back" on the error screen, nor "Try again".
        if (s == Screen::Welcome || s == Screen::CloseApp || s == Screen::EndApp || s == Screen::RemoveConfirm)
            onSecondary();
    } else if (key == VK_SPACE) {
        if (s == Screen::Welcome || s == Screen::Done || s == Screen::RemoveConfirm) toggleCheckbox();
    }
}

void Window::pickFolder()
{
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                  dialog.putVoid()))) {
        return;
    }
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(say(Txt::FolderPickerTitle).c_str());
    std::wstring start = pickerStartFolder(state_.installFolder);
    ComPtr<IShellItem> startItem;
    if (!start.empty() &&
        SUCCEEDED(::SHCreateItemFromParsingName(start.c_str(), nullptr, IID_IShellItem, startItem.putVoid()))) {
        dialog->SetFolder(startItem.get());
    }
    modal_ = true;
    HRESULT shown = dialog->Show(hwnd_);
    endModal();
    if (FAILED(shown)) return;
    ComPtr<IShellItem> result;
    UniqueCoTaskString picked;
    if (FAILED(dialog->GetResult(result.put())) || FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, picked.put()))) {
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    applyPickedFolder(env_, state_, picked.get(), params_.installFolder, params_.installedVersion);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    announceChanges();
}

void Window::showLicense()
{
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(kLicenseId), MAKEINTRESOURCEW(kDataResourceType));
    if (!found) return;
    const void* data = ::LockResource(::LoadResource(self, found));
    DWORD size = ::SizeofResource(self, found);
    if (!data || size == 0 || env_.tempDir.empty()) return;
    std::wstring path = joinPath(env_.tempDir, L"Glimmerline License.txt");
    DWORD written = 0;
    {
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return;
        ::WriteFile(file.get(), data, size, &written, nullptr);
    }
    logLine(L"license agreement: %ls (%lu bytes)", path.c_str(), static_cast<unsigned long>(written));
    if (written == size && !env_.testMode) {
        // The shell may ask which program opens the file, in a dialog of its own.
        modal_ = true;
        ::ShellExecuteW(hwnd_, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        endModal();
    }
}

void Window::endModal()
{
    modal_ = false;
    if (closePending_) {
        closePending_ = false;
        ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

} // namespace gls
