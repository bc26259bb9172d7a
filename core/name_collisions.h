// Which two relative names ('/' between components) a file system would take for one entry, under
// the caller's comparison of names: the core compares ASCII letters without case, the reader on
// Windows as the file system does.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace gls {

// The same name twice (letter case as `less` has it), or a name that another needs as one of its
// folders: the first two found, the file first in the second case. `less` orders whole names.
template <typename Text, typename Less>
std::optional<std::pair<Text, Text>> collidingNames(const std::vector<Text>& names, Less less)
{
    std::vector<const Text*> sorted;
    sorted.reserve(names.size());
    for (const Text& name : names) sorted.push_back(&name);
    auto byName = [&](const Text* a, const Text* b) { return less(*a, *b); };
    std::stable_sort(sorted.begin(), sorted.end(), byName);
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        if (!less(*sorted[i - 1], *sorted[i])) return std::pair(*sorted[i - 1], *sorted[i]);
    }
    // Each folder a name needs is looked up among the names; none is kept, so that a list of
    // long, deep names costs no more memory than the list.
    const typename Text::value_type separator('/');
    for (const Text& name : names) {
        for (std::size_t at = name.find(separator); at != Text::npos; at = name.find(separator, at + 1)) {
            Text folder = name.substr(0, at);
            auto found = std::lower_bound(sorted.begin(), sorted.end(), &folder, byName);
            if (found != sorted.end() && !less(folder, **found)) return std::pair(**found, name);
        }
    }
    return std::nullopt;
}

} // namespace gls
