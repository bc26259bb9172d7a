// Whether the setup's own payload is fit to install from.
#pragma once

#include "core/checked.h"
#include "core/payload_archive.h"

namespace gls {

// A payload the reader passed, when it is sound: holding files, every name a path, and no two
// names one file or folder to the file system, whose letter case the core reader knows for ASCII
// letters only. Otherwise the reason it counts as damaged, for the log.
Checked<Payload> checkPayload(Payload payload);

} // namespace gls
