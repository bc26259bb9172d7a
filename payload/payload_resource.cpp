// Finds the payload archive among a program file's resources: the setup's own, or another's.
#include "payload.h"

#include "core/resource_ids.h"
#include "platform/unique_handle.h"

#include <windows.h>

namespace gls {

namespace {

// The archive resource of a loaded module; null when it is missing, empty or cannot be locked.
const unsigned char* findArchive(HMODULE module, std::size_t& size)
{
    size = 0;
    HRSRC found = ::FindResourceW(module, kPayloadResourceName, MAKEINTRESOURCEW(kDataResourceType));
    if (!found) return nullptr;
    HGLOBAL loaded = ::LoadResource(module, found);
    if (!loaded) return nullptr;
    const void* data = ::LockResource(loaded);
    size = ::SizeofResource(module, found);
    if (!data || size == 0) return nullptr;
    return static_cast<const unsigned char*>(data);
}

// The archive of a loaded module, verified and indexed; "no payload" when it has none.
Payload payloadOf(HMODULE module)
{
    Payload payload;
    std::size_t size = 0;
    const unsigned char* archive = module ? findArchive(module, size) : nullptr;
    if (!archive) {
        payload.error = "no payload";
        return payload;
    }
    parsePayload(archive, size, payload.entries, payload.error, true);
    return payload;
}

} // namespace

Payload loadPayload()
{
    // The resource stays mapped with the program for the life of the process.
    return payloadOf(::GetModuleHandleW(nullptr));
}

LoadedPayload loadPayloadOf(const std::wstring& exePath)
{
    LoadedPayload loaded;
    loaded.module.reset(::LoadLibraryExW(exePath.c_str(), nullptr,
                                         LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
    loaded.payload = payloadOf(loaded.module.get());
    return loaded;
}

std::vector<PayloadEntry> listPayloadOf(const std::wstring& exePath)
{
    LoadedPayload loaded = loadPayloadOf(exePath);
    if (!loaded.payload.error.empty()) return {};
    // The bytes belong to the image released below.
    for (PayloadEntry& e : loaded.payload.entries) e.data = nullptr;
    return std::move(loaded.payload.entries);
}

} // namespace gls
