// The setup's own version, written into the log and into the update result.
#pragma once

namespace gls {

inline constexpr wchar_t kSetupVersion[] = L"1.1.1";

} // namespace gls
