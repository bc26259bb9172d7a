// Live's User Library folders, read from the library configuration every installed Live version
// keeps in its preferences.
#pragma once

#include <string>
#include <vector>

namespace gls {

// The User Library folders named by "<version>\Preferences\Library.cfg" below the Ableton folder,
// most recently configured first, each once (in lexical normal form; letter case counts).
std::vector<std::wstring> findUserLibraries(const std::wstring& abletonDir);

// The ProjectPath value of a Library.cfg's <UserLibrary> element, as UTF-8 bytes; empty when
// there is none.
std::string userLibraryProjectPath(const std::string& libraryCfg);

} // namespace gls
