// The payload's path rule, on bytes, free of the platform so it builds natively for fuzzing.
#include "payload_path.h"

#include <cstring>

namespace gls {

namespace {

bool isAllowedComponent(const std::string& name, size_t begin, size_t end)
{
    size_t length = end - begin;
    if (length == 0) return false;
    if (length == 1 && name[begin] == '.') return false;
    if (length == 2 && name[begin] == '.' && name[begin + 1] == '.') return false;
    char last = name[end - 1];
    if (last == '.' || last == ' ') return false;
    for (size_t i = begin; i < end; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20) return false;
        if (std::strchr("<>:\"\\|?*", c) != nullptr && c != 0) return false;
    }
    return true;
}

} // namespace

bool isAllowedPayloadPath(const std::string& name)
{
    if (name.empty() || name.size() > 400) return false;
    if (name.front() == '/' || name.back() == '/') return false;
    size_t begin = 0;
    for (;;) {
        size_t slash = name.find('/', begin);
        size_t end = slash == std::string::npos ? name.size() : slash;
        if (!isAllowedComponent(name, begin, end)) return false;
        if (slash == std::string::npos) return true;
        begin = slash + 1;
    }
}

} // namespace gls
