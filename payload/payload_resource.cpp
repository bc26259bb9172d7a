// Finds the payload archive among a program file's resources: the setup's own, or another's.
#include "payload.h"

#include "core/resource_ids.h"
#include "platform/text.h"
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

// The archive of a loaded module, verified and indexed; the reader says "no payload" when it has none.
Checked<Payload> payloadOf(HMODULE module)
{
    std::size_t size = 0;
    const unsigned char* archive = module ? findArchive(module, size) : nullptr;
    Checked<Payload, std::string> parsed = parsePayload(archive, size, true);
    // The reader quotes a refused name's bytes; any that are not UTF-8 log as U+FFFD.
    if (!parsed.ok()) return refused<Payload>(fromUtf8(parsed.problem));
    return passed(std::move(parsed.value));
}

} // namespace

Checked<Payload> loadPayload()
{
    // The resource stays mapped with the program for the life of the process.
    return payloadOf(::GetModuleHandleW(nullptr));
}

Checked<LoadedPayload> loadPayloadOf(const std::wstring& exePath)
{
    UniqueModule module(
        ::LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
    Checked<Payload> payload = payloadOf(module.get());
    if (!payload.ok()) return refused<LoadedPayload>(std::move(payload.problem));
    return passed(LoadedPayload{std::move(module), std::move(payload.value)});
}

std::vector<PayloadEntry> listPayloadOf(const std::wstring& exePath)
{
    Checked<LoadedPayload> loaded = loadPayloadOf(exePath);
    if (!loaded.ok()) return {};
    // The bytes belong to the image released below.
    for (PayloadEntry& e : loaded.value.payload.entries) e.data = nullptr;
    return std::move(loaded.value.payload.entries);
}

} // namespace gls
