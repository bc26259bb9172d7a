// Whether two paths name the same folder on disk, by volume and file id, so that links, letter
// case and other spellings of one folder all count as that folder.
#include "file_identity.h"

#include "unique_handle.h"

#include <windows.h>

namespace gls {

namespace {

bool identityOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info)
{
    UniqueFile folder(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return folder && ::GetFileInformationByHandle(folder.get(), &info);
}

} // namespace

bool sameFolderOnDisk(const std::wstring& a, const std::wstring& b)
{
    FileIdentity ia, ib;
    return readFileIdentity(a, ia) && readFileIdentity(b, ib) && ia == ib;
}

bool readFileIdentity(const std::wstring& path, FileIdentity& identity)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!identityOf(path, info)) return false;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

} // namespace gls
