// The setup's own version, written into the log and into the update result.
#pragma once

#define GLS_VERSION_TEXT "1.1.1"

namespace gls {

inline constexpr wchar_t kSetupVersion[] = L"" GLS_VERSION_TEXT;
inline constexpr char kSetupVersionUtf8[] = GLS_VERSION_TEXT;

} // namespace gls
