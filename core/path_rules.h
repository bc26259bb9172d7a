// Path text rules shared by the folder checks, the installation lookup and the removal code.
// Pure string work on Windows path syntax, free of the platform.
#pragma once

#include <string>

namespace gls {

// The length of a path's root: a drive ("C:") or a network or device root ("\\server\share",
// "\\?\C:", "\\.\device"), together with the separators that follow it. 0 when there is none.
std::size_t rootLength(const std::wstring& path);

// An absolute path: a drive letter, a colon and a separator; or, without a drive letter and
// colon, two separators and a name (a network or device path).
bool hasAbsoluteForm(const std::wstring& path);

// An absolute path with something after its root: the only kind of folder the setup writes in,
// removes from or registers. Joined to an empty or relative base, a name would address the
// current directory; a bare root is a whole drive or share.
bool isFolderBelowRoot(const std::wstring& path);

// Lexical normal form: backslashes, repeated separators collapsed, "." dropped, ".." removing
// the component before it (never the root). No file-system access.
std::wstring lexicallyNormal(const std::wstring& path);

// The folder that holds the path's last component: the path without that component and the
// separators around it, never shorter than its root. A path that is only a root is its own
// parent; a single relative name has none (empty).
std::wstring parentPath(const std::wstring& path);

// A path equal to or inside a folder, compared in lexical normal form and ASCII lower case,
// trailing separators ignored. An empty folder contains nothing.
bool isInsideFolder(const std::wstring& path, const std::wstring& folder);

// A path inside a folder and not the folder itself, compared the same way.
bool isStrictlyInside(const std::wstring& path, const std::wstring& folder);

// The last component: the text after the last separator, or the whole text without one.
std::wstring lastComponent(const std::wstring& path);

// The same path after lexical normalisation and ASCII lower-casing; no file-system access.
bool samePath(const std::wstring& a, const std::wstring& b);

} // namespace gls
