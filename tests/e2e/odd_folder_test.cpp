// Install folders at the edges: exactly as long as a folder may be, a link to a folder elsewhere,
// a read-only folder holding read-only files, a folder on another drive letter, a folder of the
// app that the user replaced by a link, and a folder where a scanner holds every new file.
#include "e2e_fixture.h"
#include "install_fixture.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>

using namespace gls::test;
namespace fs = std::filesystem;

namespace {

class OddFolder : public SetupRun {
protected:
    // The deepest file of the shipped payload, which gives the longest paths below the folder.
    static std::wstring deepestFile(const std::wstring& dir)
    {
        return dir + L"\\Glimmerline.vst3\\Contents\\x86_64-win\\Glimmerline.vst3";
    }
};

} // namespace

TEST_F(OddFolder, FolderOfTheLongestAllowedLengthInstallsUpdatesAndUninstalls)
{
    std::wstring base = folder.path() + L"\\";
    std::wstring longest = base + std::wstring(180 - base.size(), L'x');
    ASSERT_EQ(longest.size(), 180u);

    auto tooLong = setup(L"/S \"/D=" + longest + L"y\"");
    EXPECT_EQ(tooLong.exitCode, 3u);
    EXPECT_TRUE(logHas(": That folder's path is too long. Pick a shorter one."));

    ASSERT_EQ(setup(L"/S \"/D=" + longest + L"\"").exitCode, 0u);
    EXPECT_TRUE(exists(deepestFile(longest)));
    // The update stages and moves aside below the same folder, where paths grow longer still.
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    EXPECT_EQ(appEntryValue(gls::kInstallLocation), longest);
    EXPECT_TRUE(exists(deepestFile(longest)));
    EXPECT_TRUE(setupWorkEntries(longest).empty());
    ASSERT_EQ(setup(L"/S /uninstall").exitCode, 0u);
    EXPECT_FALSE(exists(longest));
}

TEST_F(OddFolder, LinkToAFolderInstallsIntoWhatItLeadsToAndKeepsItsNeighbours)
{
    std::wstring target = folder / L"Elsewhere\\Real Glimmerline";
    std::wstring link = folder / L"Linked Glimmerline";
    fs::create_directories(fs::path(target));
    ASSERT_TRUE(writeFile(folder / L"Elsewhere\\neighbour.txt", "next door"));
    ASSERT_TRUE(makeFolderLink(link, target));

    ASSERT_EQ(setup(L"/S \"/D=" + link + L"\"").exitCode, 0u);
    EXPECT_EQ(appEntryValue(gls::kInstallLocation), link);
    EXPECT_TRUE(exists(appExeIn(target)));
    ASSERT_EQ(setup(L"/S").exitCode, 0u); // the update finds it through the entry
    EXPECT_TRUE(setupWorkEntries(target).empty());
    ASSERT_TRUE(writeFile(target + L"\\mine.txt", "the user's"));

    ASSERT_EQ(setup(L"/S /uninstall").exitCode, 0u);
    EXPECT_FALSE(exists(appExeIn(target)));
    EXPECT_FALSE(exists(uninstallerIn(target)));
    EXPECT_EQ(readFile(target + L"\\mine.txt"), "the user's");
    EXPECT_EQ(readFile(folder / L"Elsewhere\\neighbour.txt"), "next door");
    // The link still leads to the user's file: a folder that is not empty stays, links too.
    EXPECT_EQ(readFile(link + L"\\mine.txt"), "the user's");
}

TEST_F(OddFolder, ReadOnlyFolderAndFilesAreUpdatedAndRemoved)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    auto markReadOnly = [&] {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(fs::path(installDir()), ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            ::SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_READONLY);
        }
        ::SetFileAttributesW(installDir().c_str(), FILE_ATTRIBUTE_READONLY);
    };
    markReadOnly();
    ASSERT_TRUE(writeFile(appExeIn(installDir()) + L".bak", "")); // proves the folder still takes files

    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    EXPECT_EQ(::GetFileAttributesW(appExeIn(installDir()).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(setupWorkEntries(installDir()).empty());

    markReadOnly();
    ASSERT_EQ(setup(L"/S /uninstall").exitCode, 0u);
    EXPECT_FALSE(exists(appExeIn(installDir())));
    EXPECT_FALSE(exists(uninstallerIn(installDir())));
    EXPECT_TRUE(exists(appExeIn(installDir()) + L".bak"));
    // So that the test folder can go.
    ::SetFileAttributesW((appExeIn(installDir()) + L".bak").c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(installDir().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(OddFolder, FolderOnAnotherDriveLetter)
{
    // A drive letter of its own for this test, the way a user's mapped folder would be one.
    DWORD used = ::GetLogicalDrives();
    wchar_t letter = 0;
    for (wchar_t c = L'R'; c >= L'H' && letter == 0; --c) {
        if (!(used & (1u << (c - L'A')))) letter = c;
    }
    ASSERT_NE(letter, 0);
    std::wstring drive = std::wstring(1, letter) + L":";
    std::wstring backing = folder / L"Drive";
    fs::create_directories(fs::path(backing));
    ASSERT_TRUE(::DefineDosDeviceW(0, drive.c_str(), backing.c_str())) << ::GetLastError();
    // Wine records the definition but does not resolve paths through it; its drives are the
    // host links in the prefix's dosdevices folder, so the host's ln makes the mapping there.
    std::string hostLink;
    if (::GetFileAttributesW((drive + L"\\").c_str()) == INVALID_FILE_ATTRIBUTES && underWine()) {
        std::string cDrive = unixPath(L"C:\\"); // ".../dosdevices/c:/"
        hostLink = cDrive.substr(0, cDrive.rfind('/', cDrive.size() - 2)) + "/" +
                   static_cast<char>(std::towlower(letter)) + ":";
        runHostCommand("ln -s '" + unixPath(backing) + "' '" + hostLink + "'");
        for (int i = 0; i < 50 && ::GetFileAttributesW((drive + L"\\").c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
            ::Sleep(20);
        }
    }
    struct Unmap {
        std::wstring drive, backing;
        std::string hostLink;
        ~Unmap()
        {
            ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive.c_str(), backing.c_str());
            if (!hostLink.empty()) runHostCommand("rm -f '" + hostLink + "'");
        }
    } unmap{drive, backing, hostLink};
    ASSERT_NE(::GetFileAttributesW((drive + L"\\").c_str()), INVALID_FILE_ATTRIBUTES);

    std::wstring there = drive + L"\\Apps\\Glimmerline";
    // A drive outside the test folder is refused in test mode; the test folder itself is on it.
    auto run = runSetup(setupExePath(), drive + L"\\", L"/S \"/D=" + there + L"\"");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(exists(appExeIn(backing + L"\\Apps\\Glimmerline")));
    auto removed = runSetup(setupExePath(), drive + L"\\", L"/S /uninstall");
    EXPECT_EQ(removed.exitCode, 0u);
    EXPECT_FALSE(exists(backing + L"\\Apps\\Glimmerline"));
}

TEST_F(OddFolder, ScannerThatHoldsEveryNewFileForAMomentIsWaitedFor)
{
    // Like an on-access virus scanner: each file made or renamed is held open, sharing reading
    // only, for a second and a half, so that it can be neither moved nor deleted meanwhile.
    Scanner scanner(folder.path(), 1500);
    ASSERT_TRUE(scanner.watching());
    expectExit(setup(L"/S"), 0);
    EXPECT_TRUE(logHas("] waited "));
    EXPECT_TRUE(exists(deepestFile(installDir())));
    EXPECT_TRUE(setupWorkEntries(installDir()).empty());
    expectExit(setup(L"/S"), 0); // an update: every file is moved aside and replaced
    EXPECT_TRUE(setupWorkEntries(installDir()).empty());
    expectExit(setup(L"/S /uninstall"), 0);
    EXPECT_FALSE(exists(installDir()));
    EXPECT_FALSE(appEntryExists());
}

TEST_F(OddFolder, AppFolderReplacedByALinkIsNeitherWrittenThroughNorEmptied)
{
    ASSERT_EQ(setup(L"/S").exitCode, 0u);
    // The user keeps their own copy of the device's folder elsewhere and linked it in.
    std::wstring own = folder / L"Documents\\My m4l";
    ASSERT_TRUE(writeFile(own + L"\\glimmerline_feed.js", "the user's own feed"));
    ASSERT_TRUE(writeFile(own + L"\\notes.txt", "the user's notes"));
    fs::remove_all(fs::path(installDir() + L"\\m4l"));
    if (!makeFolderLink(installDir() + L"\\m4l", own)) GTEST_SKIP() << "no folder link could be made";
    auto before = snapshotTree(own);

    auto update = setup(L"/S");
    EXPECT_EQ(update.exitCode, 1u);
    EXPECT_TRUE(logHas("] in the way, and not Glimmerline's: " + narrow(installDir() + L"\\m4l")));
    EXPECT_EQ(snapshotTree(own), before);
    EXPECT_TRUE(setupWorkEntries(installDir()).empty());

    EXPECT_EQ(setup(L"/S /uninstall").exitCode, 0u);
    EXPECT_TRUE(logHas("] left " + narrow(installDir() + L"\\m4l\\glimmerline_feed.js") + ": a link lies on its way"));
    EXPECT_EQ(snapshotTree(own), before);
    EXPECT_FALSE(exists(appExeIn(installDir())));
}
