// Finds the payload archive among a program file's resources: the setup's own, or another's.
#include "payload.h"

#include "platform/unique_handle.h"

#include <windows.h>

namespace gls {

namespace {

// The archive resource of a loaded module; null when it is missing, empty or cannot be locked.
const unsigned char* findArchive(HMODULE module, std::size_t& size)
{
    size = 0;
    HRSRC found = ::FindResourceW(module, L"GLPAYLOAD", MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!found) return nullptr;
    HGLOBAL loaded = ::LoadResource(module, found);
    if (!loaded) return nullptr;
    const void* data = ::LockResource(loaded);
    size = ::SizeofResource(module, found);
    if (!data || size == 0) return nullptr;
    return static_cast<const unsigned char*>(data);
}

} // namespace

Payload loadPayload()
{
    Payload payload;
    std::size_t size = 0;
    const unsigned char* archive = findArchive(::GetModuleHandleW(nullptr), size);
    if (!archive) {
        payload.error = "no payload";
        return payload;
    }
    // The resource stays mapped with the program for the life of the process.
    parsePayload(archive, size, payload.entries, payload.error, true);
    return payload;
}

std::vector<PayloadEntry> listPayloadOf(const std::wstring& exePath)
{
    UniqueModule module(::LoadLibraryExW(exePath.c_str(), nullptr,
                                         LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return {};
    std::size_t size = 0;
    const unsigned char* archive = findArchive(module.get(), size);
    if (!archive) return {};
    std::vector<PayloadEntry> entries;
    std::string error;
    if (!parsePayload(archive, size, entries, error, true)) return {};
    // The bytes belong to the image released below.
    for (PayloadEntry& e : entries) e.data = nullptr;
    return entries;
}

} // namespace gls
