// Whether two paths name the same folder on disk, by volume and file id, so that links, letter
// case and other spellings of one folder all count as that folder.
#include "file_identity.h"

#include "unique_handle.h"

#include <windows.h>

#include <cstring>

namespace gls {

namespace {

UniqueFile openForIdentity(const std::wstring& path)
{
    return UniqueFile(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool identityOf(HANDLE file, FileIdentity& identity)
{
    FILE_ID_INFO info;
    if (::GetFileInformationByHandleEx(file, FileIdInfo, &info, sizeof info)) {
        identity.volume = info.VolumeSerialNumber;
        std::memcpy(identity.id.data(), &info.FileId, identity.id.size());
        return true;
    }
    // Older systems and some file systems know only the 64-bit index.
    BY_HANDLE_FILE_INFORMATION byHandle;
    if (!::GetFileInformationByHandle(file, &byHandle)) return false;
    identity.volume = byHandle.dwVolumeSerialNumber;
    identity.id = {};
    std::uint64_t index = (static_cast<std::uint64_t>(byHandle.nFileIndexHigh) << 32) | byHandle.nFileIndexLow;
    std::memcpy(identity.id.data(), &index, sizeof index);
    return true;
}

} // namespace

bool sameFolderOnDisk(const std::wstring& a, const std::wstring& b)
{
    UniqueFile first = openForIdentity(a);
    UniqueFile second = openForIdentity(b);
    FileIdentity ia, ib;
    return first && second && identityOf(first.get(), ia) && identityOf(second.get(), ib) && ia.known() && ia == ib;
}

bool readFileIdentity(const std::wstring& path, FileIdentity& identity)
{
    UniqueFile file = openForIdentity(path);
    return file && identityOf(file.get(), identity);
}

} // namespace gls
