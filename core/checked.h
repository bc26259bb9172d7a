// The one shape of a check that can refuse: what it passes on, or the problem in words.
#pragma once

#include <string>
#include <utility>

namespace gls {

template <typename T>
struct Checked {
    T value{};            // what the check passes on; not to be used when it refused
    std::wstring problem; // empty when the check passed, else a sentence for the user or the log

    bool ok() const { return problem.empty(); }
};

template <typename T>
Checked<T> passed(T value)
{
    return {std::move(value), {}};
}

// The problem must not be empty: an empty one would read as a pass.
template <typename T>
Checked<T> refused(std::wstring problem)
{
    return {T{}, std::move(problem)};
}

} // namespace gls
