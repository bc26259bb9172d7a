// Shell link files: reading where one points, and making one.
#pragma once

#include <string>

namespace gls {

// The raw target path stored in a shortcut file (environment variables not expanded); empty on
// any failure, a damaged file included.
std::wstring shortcutTarget(const std::wstring& shortcutPath);

// Makes a shortcut to target with the working folder, the target's first icon and the app's
// description, creating the shortcut's folder when needed. True when the file was saved; on
// false the thread's last error holds the cause, waited for as for any file another program holds.
[[nodiscard]] bool makeShortcut(const std::wstring& shortcutPath, const std::wstring& target,
                                const std::wstring& workingFolder);

} // namespace gls
