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
// The longest folder path CreateDirectoryW takes without that form: MAX_PATH less room for an
// 8.3 name (248), less its terminating null.
inline constexpr std::size_t kMaxClassicFolderPath = 247;

// During an update the old file goes into the old-files folder below the install folder, the
// deepest place a name takes: the longest install folder, the longest work folder name and their
// separators come before it.
inline constexpr std::size_t kDeepestNamePrefix = kMaxFolderLength + 1 + kLongestWorkFolderName + 1;
// The longest name, and the longest folder part of a name (before its last '/'), in UTF-16 units,
// that the setup can write and whose folders it can make there.
inline constexpr std::size_t kMaxInstalledNameLength = kMaxClassicPath - kDeepestNamePrefix;
inline constexpr std::size_t kMaxInstalledFolderLength = kMaxClassicFolderPath - kDeepestNamePrefix;

// A relative path of 1 to 400 bytes, '/' between components; no empty, "." or ".." component,
// none ending in '.' or a space, no control byte and none of < > : " \ | ? *.
bool isAllowedPayloadPath(const std::string& name);

// Strict UTF-8: no cut-short or overlong sequences, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const std::string& text);

// Why a name that passes isAllowedPayloadPath still cannot be installed, or empty when it can: its
// first component is "Uninstall.exe", which the setup writes itself, or begins with ".glsetup-",
// the setup's work names, which it deletes (letter case of ASCII letters ignored); or it is longer
// than kMaxInstalledNameLength, or its folder part longer than kMaxInstalledFolderLength. Names an installed version
// lists pass isAllowedPayloadPath only.
std::string installedNameProblem(const std::string& name);

// Two names of an archive that Windows takes for one file or folder, ASCII letters compared
// without case (see collidingNames).
std::optional<std::pair<std::string, std::string>> collidingPayloadNames(const std::vector<std::string>& names);

} // namespace gls
