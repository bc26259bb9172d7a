// File names ordered and compared as the file system compares them.
#include "file_name_order.h"

#include <windows.h>

namespace gls {

namespace {

int compareIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE);
}

} // namespace

bool FileNameLess::operator()(const std::wstring& a, const std::wstring& b) const
{
    return compareIgnoringCase(a, b) == CSTR_LESS_THAN;
}

bool sameFileName(const std::wstring& a, const std::wstring& b) { return compareIgnoringCase(a, b) == CSTR_EQUAL; }

} // namespace gls
