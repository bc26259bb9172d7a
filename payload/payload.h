// The payload archive the setup carries as a resource: its own, or another program file's.
#pragma once

#include "core/checked.h"
#include "core/payload_archive.h"
#include "platform/unique_handle.h"

#include <string>
#include <vector>

namespace gls {

// The running program's own payload, verified and indexed; refused with the reader's text, for the log.
Checked<Payload> loadPayload();

// Another program file's payload, verified and indexed, with the file kept loaded for the
// entries' data while this lives.
struct LoadedPayload {
    UniqueModule module;
    Payload payload;
};
Checked<LoadedPayload> loadPayloadOf(const std::wstring& exePath);

// The names and sizes in the payload of another program file, in index order; empty on any
// failure. The entries carry no data: the file is released before this returns.
std::vector<PayloadEntry> listPayloadOf(const std::wstring& exePath);

} // namespace gls
