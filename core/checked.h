// The one shape of a check that can refuse: what it passes on, or the problem in words.
#pragma once

#include <string>
#include <utility>

namespace gls {

// The problem is UTF-16 text, except where the platform-free core quotes stored UTF-8 bytes as they
// are (the payload reader): there it is std::string, and the platform turns it into text.
template <typename T, typename Text = std::wstring>
struct Checked {
    T value{};    // what the check passes on; not to be used when it refused
    Text problem; // empty when the check passed, else a sentence for the user or the log

    bool ok() const { return problem.empty(); }
};

template <typename T, typename Text = std::wstring>
Checked<T, Text> passed(T value)
{
    return {std::move(value), {}};
}

// The problem must not be empty: an empty one would read as a pass.
template <typename T>
Checked<T> refused(std::wstring problem)
{
    return {T{}, std::move(problem)};
}

template <typename T>
Checked<T, std::string> refused(std::string problem)
{
    return {T{}, std::move(problem)};
}

} // namespace gls
