// Whether the setup's own payload is fit to install from.
#include "payload_check.h"

#include "payload_name.h"
#include "platform/text.h"

namespace gls {

Checked<Payload> checkPayload(Payload payload)
{
    if (!payload.error.empty()) return refused<Payload>(fromUtf8(payload.error));
    if (payload.entries.empty()) return refused<Payload>(L"the payload holds no files");
    for (const PayloadEntry& e : payload.entries) {
        if (pathFromPayloadName(e.name).empty()) {
            return refused<Payload>(fromUtf8("a path in the payload is not valid UTF-8: " + e.name));
        }
    }
    return passed(std::move(payload));
}

} // namespace gls
