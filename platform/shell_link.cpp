// Shell link files through the shell link object.
#include "shell_link.h"

#include "com_apartment.h"
#include "core/path_rules.h"
#include "create_folders.h"
#include "file_waits.h"
#include "unique_handle.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace gls {

namespace {

bool createShellLink(ComPtr<IShellLinkW>& link)
{
    return SUCCEEDED(
        ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid()));
}

// The Windows error a failed call's result stands for, so that a save waits, and is reported, as a
// file operation is. The storage layer's own codes for the same causes come first.
DWORD windowsErrorOf(HRESULT hr)
{
    switch (hr) {
    case STG_E_SHAREVIOLATION: return ERROR_SHARING_VIOLATION;
    case STG_E_LOCKVIOLATION: return ERROR_LOCK_VIOLATION;
    case STG_E_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    default: return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
    }
}

// Sets the thread's last error from a failed result; false for the caller to return.
bool failedWith(HRESULT hr)
{
    ::SetLastError(windowsErrorOf(hr));
    return false;
}

} // namespace

std::wstring shortcutTarget(const std::wstring& shortcutPath)
{
    ComApartment com;
    ComPtr<IShellLinkW> link;
    if (!createShellLink(link)) return {};
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return {};
    if (FAILED(file->Load(shortcutPath.c_str(), STGM_READ))) return {};
    wchar_t target[520] = {};
    if (FAILED(link->GetPath(target, 520, nullptr, SLGP_RAWPATH))) return {};
    target[519] = L'\0';
    return target;
}

bool makeShortcut(const std::wstring& shortcutPath, const std::wstring& target, const std::wstring& workingFolder)
{
    ComApartment com;
    createFolders(parentPath(shortcutPath));

    ComPtr<IShellLinkW> link;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid());
    if (FAILED(hr)) return failedWith(hr);
    if (FAILED(hr = link->SetPath(target.c_str()))) return failedWith(hr);
    if (FAILED(hr = link->SetWorkingDirectory(workingFolder.c_str()))) return failedWith(hr);
    if (FAILED(hr = link->SetIconLocation(target.c_str(), 0))) return failedWith(hr);
    if (FAILED(hr = link->SetDescription(L"Spectral waveforms in Ableton Live"))) return failedWith(hr);
    ComPtr<IPersistFile> file;
    if (FAILED(hr = link->QueryInterface(IID_IPersistFile, file.putVoid()))) return failedWith(hr);
    return retryWhileHeld(shortcutPath, [&] {
        HRESULT saved = file->Save(shortcutPath.c_str(), TRUE);
        return SUCCEEDED(saved) || failedWith(saved);
    });
}

} // namespace gls
