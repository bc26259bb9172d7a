// The seed and the length of the randomised fault tests. GLS_SEED replays a run's random choices
// (the seed is printed either way); GLS_STRESS=1, which make stress sets, makes each one long.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace gls::test {

inline unsigned long long numberFromEnv(const wchar_t* name, unsigned long long fallback)
{
    wchar_t text[64];
    DWORD n = ::GetEnvironmentVariableW(name, text, 64);
    if (n == 0 || n >= 64) return fallback;
    return std::wcstoull(text, nullptr, 10);
}

// One seed for the whole test program, so that one number replays every randomised test in it.
inline unsigned long long faultSeed()
{
    static const unsigned long long seed = [] {
        unsigned long long s = numberFromEnv(L"GLS_SEED", ::GetTickCount64() ^ (::GetCurrentProcessId() * 2654435761ull));
        std::printf("fault tests seed %llu (GLS_SEED=%llu replays it)\n", s, s);
        return s;
    }();
    return seed;
}

inline bool stressRun() { return numberFromEnv(L"GLS_STRESS", 0) != 0; }

} // namespace gls::test
