// The one shape of a check that can refuse: what it passes on, or the problem.
#pragma once

#include <string>
#include <utility>

namespace gls {

// Problem: a sentence for the log (std::wstring), or a Message for the user (core/texts.h), which
// is said in the user's language; either is empty when the check passed.
template <typename T, typename Problem = std::wstring>
struct Checked {
    T value{};       // what the check passes on; not to be used when it refused
    Problem problem; // empty when the check passed

    bool ok() const { return problem.empty(); }
};

template <typename Problem = std::wstring, typename T>
Checked<T, Problem> passed(T value)
{
    return {std::move(value), {}};
}

// The problem must not be empty: an empty one would read as a pass.
template <typename T, typename Problem>
Checked<T, Problem> refused(Problem problem)
{
    return {T{}, std::move(problem)};
}

template <typename T>
Checked<T> refused(const wchar_t* problem)
{
    return {T{}, problem};
}

// The platform-free core quotes stored UTF-8 bytes as they are (the payload reader): there the
// problem is std::string, which the platform turns into text.
template <typename T>
Checked<T, std::string> refused(const char* problem)
{
    return {T{}, problem};
}

} // namespace gls
