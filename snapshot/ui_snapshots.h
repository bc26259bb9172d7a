// The developer switch "--ui-snapshot": every screen drawn into PNG files in both palettes at 100
// and 150 percent, and a report of how the window fits common screen shapes.
#pragma once

#include <string>

namespace gls {

// True when every picture was written; failure messages are appended to `failures`.
[[nodiscard]] bool writeUiSnapshots(const std::wstring& folder, std::string& failures);

} // namespace gls
