// Copies of the uninstaller that were killed before they could delete themselves.
#pragma once

namespace gls {

struct Env;

// Removes the temporary folder's "Glimmerline-Uninstall-<number>.exe" files that can be deleted:
// a copy that runs cannot be and stays, and so does this program's own file and a copy made in
// the last minute, which its starter may be about to start. Each removal is logged.
void removeStaleUninstallCopies(const Env& env);

} // namespace gls
