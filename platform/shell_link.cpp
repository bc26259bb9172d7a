// Shell link files through the shell link object.
#include "shell_link.h"

#include "com_apartment.h"
#include "core/path_rules.h"
#include "create_folders.h"
#include "unique_handle.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace gls {

namespace {

bool createShellLink(ComPtr<IShellLinkW>& link)
{
    return SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                        link.putVoid()));
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
    if (!createShellLink(link)) return false;
    if (FAILED(link->SetPath(target.c_str()))) return false;
    if (FAILED(link->SetWorkingDirectory(workingFolder.c_str()))) return false;
    if (FAILED(link->SetIconLocation(target.c_str(), 0))) return false;
    if (FAILED(link->SetDescription(L"Spectral waveforms in Ableton Live"))) return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return false;
    return SUCCEEDED(file->Save(shortcutPath.c_str(), TRUE));
}

} // namespace gls
