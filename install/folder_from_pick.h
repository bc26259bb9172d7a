// The install folder for a folder the user picked.
#pragma once

#include <string>

namespace gls {

// The folder itself when it is the app's, new or empty; otherwise a "Glimmerline" folder inside it.
std::wstring installFolderFromPick(const std::wstring& picked);

} // namespace gls
