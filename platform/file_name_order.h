// File names ordered and compared as the file system compares them: letter case ignored by the
// system's own upper-case table, which knows every letter, not only ASCII.
#pragma once

#include <string>

namespace gls {

struct FileNameLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const;
};

bool sameFileName(const std::wstring& a, const std::wstring& b);

} // namespace gls
