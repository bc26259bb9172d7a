// Which programs hold files open, asked of the system's Restart Manager when a file of the app
// could not be replaced or removed, so that the user is told which program to close.
#pragma once

#include <string>
#include <vector>

namespace gls {

// The names of the programs that hold any of the files open, as the system names them (each
// once, at most a sentence's worth, this process never); "held by: " and the names are logged
// when there are any. Empty when the system names none or cannot be asked: Wine's Restart
// Manager answers every question with an empty list.
std::vector<std::wstring> programsHolding(const std::vector<std::wstring>& paths);

} // namespace gls
