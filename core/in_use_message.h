// What the user reads when files of the app are held open by other programs: the programs by name
// where the system could tell which they are, and the sentences of old where it could not.
#pragma once

#include "texts.h"

#include <cstddef>
#include <string>
#include <vector>

namespace gls {

// A sentence names at most this many programs; more would help nobody find them.
inline constexpr std::size_t kMostHolderNames = 3;

// The names worth giving of the programs the system listed as holders: each once, in the order
// given, none empty or holding a control character, at most kMostHolderNames.
std::vector<std::wstring> holderNames(const std::vector<std::wstring>& listed);

// An install or update that ended because the file could not be moved aside. `holders` are the
// programs that hold it, each once; with none it is "Another program".
Message fileInUseMessage(const std::vector<std::wstring>& holders, const std::wstring& fileName);

// An uninstall that left files in the folder: `filesLeft` the paths of the files that stayed,
// `holders` the programs that hold any of them, each once.
Message filesLeftInUseMessage(const std::vector<std::wstring>& holders, const std::vector<std::wstring>& filesLeft,
                              const std::wstring& folder);

} // namespace gls
