// The user's display languages, as Windows lists them.
#pragma once

#include <string>
#include <vector>

namespace gls {

// The user's preferred display languages, first choice first ("de-DE", "zh-Hans-CN"); empty when
// Windows cannot say.
std::vector<std::wstring> userUiLanguages();

} // namespace gls
