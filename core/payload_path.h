// The rules on the names stored in the payload archive: the one every name passes before it becomes
// a path, and those the names of an archive to install pass as well, each and together.
#pragma once

#include "folder_rules.h"
#include "product.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gls {

// The longest path Windows takes without the "\\?\" form: MAX_PATH less its terminating null.
inline constexpr std::size_t kMaxClassicPath = 259;

// The longest name, in UTF-16 units, that the setup can write below the longest install folder:
// during an update the old file goes into the old-files folder, the deepest place a name takes.
inline constexpr std::size_t kMaxInstalledNameLength = kMaxClassicPath - kMaxFolderLength - 1 -
                                                       kLongestOldFilesFolderName - 1;

// A relative path of 1 to 400 bytes, '/' between components; no empty, "." or ".." component,
// none ending in '.' or a space, no control byte and none of < > : " \ | ? *.
bool isAllowedPayloadPath(const std::string& name);

// Strict UTF-8: no cut-short or overlong sequences, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const std::string& text);

// Why a name that passes isAllowedPayloadPath still cannot be installed, or empty when it can: its
// first component is "Uninstall.exe", which the setup writes itself, or begins with ".glsetup-",
// the setup's work names, which it deletes (letter case of ASCII letters ignored); or it is longer
// than kMaxInstalledNameLength. Names an installed version lists pass isAllowedPayloadPath only.
std::string installedNameProblem(const std::string& name);

// Two names of an archive that Windows takes for one file or folder, ASCII letters compared
// without case (see collidingNames).
std::optional<std::pair<std::string, std::string>> collidingPayloadNames(const std::vector<std::string>& names);

} // namespace gls
