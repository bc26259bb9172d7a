// The setup log as the real program writes it: byte-order mark, size rule, banners, line ends.
#include "platform/log.h"
#include "product_names.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>

using gls::test::kTestLog;
using gls::test::logLines;
using gls::test::readFile;
using gls::test::runSetup;
using gls::test::setupExePath;
using gls::test::TestFolder;
using gls::test::writeFile;

namespace {

const char kBom[] = "\xEF\xBB\xBF";

std::wstring logPath(const TestFolder& folder) { return folder / kTestLog; }

// A log that looks like earlier runs' lines, exactly `size` bytes long.
std::string oldLog(size_t size)
{
    std::string text = kBom;
    while (text.size() < size) text += "[  0.00] an earlier run\r\n";
    text.resize(size);
    return text;
}

} // namespace

TEST(SetupLog, NewLogStartsWithByteOrderMarkAndEveryLineEndsInCrLf)
{
    TestFolder folder;
    ASSERT_TRUE(runSetup(setupExePath(), folder.path(), L"/S /x").finished);
    std::string text = readFile(logPath(folder));
    ASSERT_EQ(text.substr(0, 3), kBom);
    EXPECT_EQ(text.substr(3, 14), "[  0.00] ---- ");
    ASSERT_TRUE(text.ends_with("exit 3\r\n"));
    // No bare line feed anywhere, and no second byte-order mark.
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_EQ(text[i - 1], '\r') << "at " << i;
        }
    }
    EXPECT_EQ(text.find(kBom, 3), std::string::npos);
}

TEST(SetupLog, AtTheLimitItIsAppendedToAndPastItStartedOver)
{
    TestFolder atLimit;
    ASSERT_TRUE(writeFile(logPath(atLimit), oldLog(262144)));
    ASSERT_TRUE(runSetup(setupExePath(), atLimit.path(), L"/S /x").finished);
    std::string appended = readFile(logPath(atLimit));
    EXPECT_EQ(appended.substr(0, 262144), oldLog(262144));
    EXPECT_EQ(appended.substr(262144, 14), "[  0.00] ---- "); // no byte-order mark in the middle

    TestFolder pastLimit;
    ASSERT_TRUE(writeFile(logPath(pastLimit), oldLog(262145)));
    ASSERT_TRUE(runSetup(setupExePath(), pastLimit.path(), L"/S /x").finished);
    std::string restarted = readFile(logPath(pastLimit));
    EXPECT_EQ(restarted.substr(0, 17), std::string(kBom) + "[  0.00] ---- ");
    EXPECT_LT(restarted.size(), 1000u);
}

TEST(SetupLog, EachRunAddsItsOwnBanner)
{
    TestFolder folder;
    ASSERT_TRUE(runSetup(setupExePath(), folder.path(), L"/S /one").finished);
    ASSERT_TRUE(runSetup(setupExePath(), folder.path(), L"/S /two").finished);
    std::vector<std::string> pids;
    std::regex banner(R"(\[  0\.00\] ---- .* install \(pid (\d+)\), test)");
    for (const std::string& line : logLines(folder.path())) {
        std::smatch m;
        if (std::regex_match(line, m, banner)) pids.push_back(m[1]);
    }
    ASSERT_EQ(pids.size(), 2u);
    EXPECT_NE(pids[0], pids[1]);
    EXPECT_EQ(readFile(logPath(folder)).find(kBom, 3), std::string::npos);
}

// This test opens the log of the test program itself, once; lines from two threads stay whole.
TEST(SetupLog, TwoThreadsWriteWholeLinesAndSecondOpenDoesNothing)
{
    TestFolder folder;
    folder.keep(); // the log stays open until this program ends
    gls::Env env = gls::test::testEnv(folder);
    ASSERT_TRUE(::CreateDirectoryW(env.tempDir.c_str(), nullptr));
    gls::openLog(env, L"install");
    gls::openLog(env, L"uninstall"); // already open: no second banner

    auto writer = [](const wchar_t* who) {
        for (int i = 0; i < 400; ++i) gls::logLine(L"%ls line %d of %hs with \x00e9", who, i, "many");
    };
    std::thread a(writer, L"first");
    std::thread b(writer, L"second");
    a.join();
    b.join();

    auto lines = logLines(folder.path());
    ASSERT_EQ(lines.size(), 801u);
    EXPECT_NE(lines[0].find(" install (pid "), std::string::npos);
    std::regex line(R"(\[ +\d+\.\d\d\] (first|second) line \d+ of many with \xC3\xA9)");
    int matched = 0;
    for (size_t i = 1; i < lines.size(); ++i) matched += std::regex_match(lines[i], line) ? 1 : 0;
    EXPECT_EQ(matched, 800);
}
