// Names a test that hangs: a test program that stops moving would otherwise run until the CI's
// limit ends it, with nothing printed about which test it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <mutex>
#include <string>

namespace {

// Far above the slowest test (a kill campaign takes a few minutes), far below the CI's limit.
constexpr ULONGLONG kLimitMs = 15 * 60 * 1000;

std::mutex guard;
ULONGLONG startedAt = 0; // 0 between tests
std::string running;

class HangWatch : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& info) override
    {
        std::lock_guard<std::mutex> lock(guard);
        running = std::string(info.test_suite_name()) + "." + info.name();
        startedAt = ::GetTickCount64();
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        std::lock_guard<std::mutex> lock(guard);
        startedAt = 0;
    }
};

DWORD WINAPI watch(void*)
{
    for (;;) {
        ::Sleep(1000);
        std::lock_guard<std::mutex> lock(guard);
        if (startedAt == 0 || ::GetTickCount64() - startedAt < kLimitMs) continue;
        std::printf("\n[  FAILED  ] %s hung: still running after %llu s; the test program ends here\n",
                    running.c_str(), (::GetTickCount64() - startedAt) / 1000);
        std::fflush(stdout);
        ::TerminateProcess(::GetCurrentProcess(), 1);
    }
}

const bool installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new HangWatch);
    ::CloseHandle(::CreateThread(nullptr, 0, watch, nullptr, 0, nullptr));
    return true;
}();

} // namespace
