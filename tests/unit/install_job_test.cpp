// The install job and its copy phase through real files, the real registry (under a test key of
// its own) and real shortcuts; faults provoked for real wherever Wine lets us.
#include "core/path_join.h"
#include "core/version.h"
#include "installation/apps_entry.h"
#include "install/file_transaction.h"
#include "install/install_job.h"
#include "install_fixture.h"
#include "payload/payload_name.h"
#include "platform/own_path.h"
#include "platform/shell_link.h"
#include "platform/system_error_text.h"
#include "platform/user_registry.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gls::test;
using gls::InstallResult;

namespace {

std::wstring readString(const std::wstring& key, const wchar_t* name)
{
    return gls::readUserString(key, name).value_or(L"(missing)");
}

DWORD readDword(const std::wstring& key, const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// A test folder, a registry key of the test's own, and the environment over both.
class InstallJob : public ::testing::Test {
protected:
    TestFolder folder;
    RegistryScope registry;
    gls::Env env = testEnv(folder, registry);
    ProgressLog progress;
};

// A copy phase over a folder that holds one file already, run stage by stage.
class CopyPhase : public ::testing::Test {
protected:
    // Puts the file into the folder, records the folder as `before`, prepares it and plans the files.
    void planOver(const std::wstring& name, const std::string& bytes,
                  const std::vector<std::pair<std::string, std::string>>& files)
    {
        ASSERT_TRUE(writeFile(dir + L"\\" + name, bytes));
        before = snapshotTree(dir);
        payload = makePayload(files);
        phase.installDir = dir;
        ASSERT_TRUE(gls::prepareFolder(phase, result));
        for (const auto& e : payload.payload.entries) ASSERT_TRUE(gls::planFile(phase, e.name, e.data, e.size));
    }
    // The same, and the files staged.
    void stageOver(const std::wstring& name, const std::string& bytes,
                   const std::vector<std::pair<std::string, std::string>>& files)
    {
        planOver(name, bytes, files);
        if (HasFatalFailure()) return;
        ASSERT_TRUE(gls::stageFiles(phase, progress.callback(), result));
    }

    TestFolder folder;
    std::wstring dir = folder / L"Glimmerline";
    std::vector<std::pair<std::wstring, std::string>> before;
    MemoryPayload payload;
    gls::CopyPhase phase;
    InstallResult result;
    ProgressLog progress;
};

} // namespace

TEST_F(InstallJob, FreshInstallPlacesEverythingAndReportsProgressInOrder)
{
    BuiltPayload built;
    ASSERT_TRUE(loadBuiltPayload(built));
    ASSERT_EQ(built.payload.entries.size(), 10u);
    std::wstring dir = env.defaultInstallDir; // does not exist yet

    InstallResult result = gls::installApp(env, built.payload, dir, false, progress.callback());
    ASSERT_TRUE(result.ok) << narrow(gls::sayInEnglish(result.message));
    EXPECT_TRUE(result.message.empty() && result.reason.empty());

    // Every payload file byte for byte, and the running program as the uninstaller.
    for (const gls::PayloadEntry& e : built.payload.entries) {
        std::string expected(reinterpret_cast<const char*>(e.data), static_cast<size_t>(e.size));
        EXPECT_EQ(readFile(gls::joinPath(dir, gls::pathFromPayloadName(e.name))), expected) << e.name;
    }
    EXPECT_EQ(readFile(uninstallerIn(dir)), readFile(gls::ownExePath()));
    EXPECT_FALSE(!setupWorkEntries(dir).empty());
    EXPECT_EQ(snapshotTree(dir).size(), 11u + 6u); // 11 files and the 6 folders they need

    ASSERT_GE(progress.reports.size(), 17u);
    EXPECT_EQ(progress.reports[0], std::make_pair(0.0f, std::wstring(L"Getting ready")));
    float last = 0;
    for (size_t i = 1; i <= 11; ++i) {
        EXPECT_EQ(progress.reports[i].second, L"Copying files");
        EXPECT_GE(progress.reports[i].first, last);
        last = progress.reports[i].first;
    }
    EXPECT_EQ(progress.reports[11].first, 0.75f);
    const std::pair<float, std::wstring> tail[] = {{0.8f, L"Copying files"}, {0.88f, L"Copying files"},
                                                   {0.92f, L"Adding Glimmerline to Windows"},
                                                   {0.96f, L"Adding the shortcuts"}, {1.0f, L"Done"}};
    ASSERT_EQ(progress.reports.size(), 17u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(progress.reports[12 + i], tail[i]);

    // The installed-apps entry and the Start-menu shortcut.
    std::wstring key = registry.uninstallKey();
    EXPECT_EQ(readString(key, gls::kDisplayName), kAppName);
    EXPECT_EQ(readString(key, gls::kDisplayVersion), gls::kSetupVersion);
    EXPECT_EQ(readString(key, gls::kPublisher), L"Edda Rowan");
    EXPECT_EQ(readString(key, gls::kDisplayIcon), appExeIn(dir) + L",0");
    EXPECT_EQ(readString(key, gls::kInstallLocation), dir);
    EXPECT_EQ(readString(key, gls::kUninstallString), L"\"" + uninstallerIn(dir) + L"\" /uninstall");
    EXPECT_EQ(readString(key, gls::kQuietUninstallString), L"\"" + uninstallerIn(dir) + L"\" /uninstall /S");
    EXPECT_EQ(readString(key, gls::kInstallDate).size(), 8u);
    EXPECT_EQ(readDword(key, gls::kNoModify), 1u);
    EXPECT_EQ(readDword(key, gls::kNoRepair), 1u);
    std::uint64_t total = 0;
    for (const auto& [path, bytes] : snapshotTree(dir)) total += bytes.size();
    EXPECT_EQ(readDword(key, gls::kEstimatedSize), (total + 1023) / 1024);
    EXPECT_EQ(gls::shortcutTarget(shortcutIn(env.startMenuPrograms)), appExeIn(dir));
    EXPECT_FALSE(exists(shortcutIn(env.desktopDir)));
}

TEST_F(InstallJob, ReinstallOverTheSameVersionKeepsOtherValuesAndOneSetOfFiles)
{
    BuiltPayload built;
    ASSERT_TRUE(loadBuiltPayload(built));
    std::wstring dir = folder / L"Apps\\Glimmerline";
    ASSERT_TRUE(gls::installApp(env, built.payload, dir, true, progress.callback()).ok);
    auto first = snapshotTree(dir);
    ASSERT_TRUE(registry.setString(L"Comments", L"left by someone else"));
    ASSERT_TRUE(registry.setString(gls::kDisplayVersion, L"0.9"));
    ASSERT_TRUE(exists(shortcutIn(env.desktopDir)));

    ASSERT_TRUE(gls::installApp(env, built.payload, dir, false, progress.callback()).ok);
    EXPECT_EQ(snapshotTree(dir), first);
    EXPECT_EQ(readString(registry.uninstallKey(), L"Comments"), L"left by someone else");
    EXPECT_EQ(readString(registry.uninstallKey(), gls::kDisplayVersion), gls::kSetupVersion);
    EXPECT_FALSE(exists(shortcutIn(env.desktopDir))); // ours, and no longer wanted
}

TEST_F(InstallJob, ProtectedDesktopLeavesItsShortcutOutAndTheInstallStands)
{
    BuiltPayload built;
    ASSERT_TRUE(loadBuiltPayload(built));
    std::filesystem::create_directories(env.desktopDir);
    // As Windows Security's controlled folder access protects the desktop from unknown programs.
    ReadOnlyMount protectedDesktop(env.desktopDir);
    if (!protectedDesktop.mounted()) GTEST_SKIP() << "a read-only mount needs root";
    ShortFileWaits shortWaits; // access denied is waited for a while, as a scanner may be behind it
    InstallResult result = gls::installApp(env, built.payload, folder / L"Apps\\Glimmerline", true, progress.callback());
    EXPECT_TRUE(result.ok) << narrow(gls::sayInEnglish(result.message));
    EXPECT_TRUE(result.desktopShortcutMissing);
    EXPECT_FALSE(result.startMenuShortcutMissing);
    EXPECT_TRUE(exists(shortcutIn(env.startMenuPrograms)));
    EXPECT_FALSE(exists(shortcutIn(env.desktopDir)));
}

TEST_F(InstallJob, UpdateTakesOutWhatTheNewVersionNoLongerHas)
{
    std::wstring dir = folder / L"Apps\\Glimmerline";
    MemoryPayload oldVersion = makePayload({{kAppPayloadName, "old app"},
                                            {"Readme.txt", "old readme"},
                                            {"plugins/old/extra.dll", "only in the old version"},
                                            {"shared.txt", "old shared"}});
    ASSERT_TRUE(gls::installApp(env, oldVersion.payload, dir, false, progress.callback()).ok);
    // The uninstaller of the old version lists the old version's files.
    ASSERT_TRUE(writeSetupWithPayload(uninstallerIn(dir), oldVersion.archive));
    ASSERT_TRUE(writeFile(dir + L"\\user-notes.txt", "the user's own file"));
    // Empty folders of the user's, one of them a link to an empty folder elsewhere.
    std::filesystem::create_directories(dir + L"\\New folder");
    std::filesystem::create_directories(dir + L"\\docs\\empty");
    std::filesystem::create_directories(folder / L"Elsewhere");
    ASSERT_TRUE(makeFolderLink(dir + L"\\docs\\linked", folder / L"Elsewhere"));

    MemoryPayload newVersion = makePayload({{kAppPayloadName, "new app"},
                                            {"README.txt", "new readme, other case"},
                                            {"shared.txt", "new shared"}});
    InstallResult result = gls::installApp(env, newVersion.payload, dir, false, progress.callback());
    ASSERT_TRUE(result.ok) << narrow(gls::sayInEnglish(result.message));
    EXPECT_EQ(readFile(appExeIn(dir)), "new app");
    EXPECT_EQ(readFile(dir + L"\\shared.txt"), "new shared");
    EXPECT_EQ(readFile(dir + L"\\README.txt"), "new readme, other case"); // not taken out by "Readme.txt"
    EXPECT_FALSE(exists(dir + L"\\plugins"));                              // the file and its emptied folders
    EXPECT_EQ(readFile(dir + L"\\user-notes.txt"), "the user's own file");
    EXPECT_FALSE(!setupWorkEntries(dir).empty());
    // Only folders it emptied itself go.
    EXPECT_TRUE(exists(dir + L"\\New folder"));
    EXPECT_TRUE(exists(dir + L"\\docs\\empty"));
    EXPECT_TRUE(exists(folder / L"Elsewhere"));
}

TEST_F(InstallJob, TakingOutNeverGoesThroughALink)
{
    std::wstring dir = folder / L"Apps\\Glimmerline";
    MemoryPayload oldVersion = makePayload({{kAppPayloadName, "old app"}, {"plugins/x.dll", "old plug-in"}});
    ASSERT_TRUE(gls::installApp(env, oldVersion.payload, dir, false, progress.callback()).ok);
    ASSERT_TRUE(writeSetupWithPayload(uninstallerIn(dir), oldVersion.archive));
    // The user put a link to a folder of their own where the old version's folder was.
    std::filesystem::remove_all(dir + L"\\plugins");
    ASSERT_TRUE(writeFile(folder / L"Mine\\x.dll", "the user's own"));
    ASSERT_TRUE(makeFolderLink(dir + L"\\plugins", folder / L"Mine"));

    MemoryPayload newVersion = makePayload({{kAppPayloadName, "new app"}});
    ASSERT_TRUE(gls::installApp(env, newVersion.payload, dir, false, progress.callback()).ok);
    EXPECT_EQ(readFile(folder / L"Mine\\x.dll"), "the user's own");
    EXPECT_EQ(readFile(appExeIn(dir)), "new app");
    EXPECT_TRUE(setupWorkEntries(dir).empty());
}

// A path that is a folder in one version and a file in the other: the old version's own entry is
// taken aside for the swap, anything of the user's ends the update before anything changes, and a
// later failure puts it back.
TEST_F(InstallJob, PathThatChangesKindBetweenVersions)
{
    auto installOld = [&](const std::wstring& dir, const MemoryPayload& oldVersion) {
        ASSERT_TRUE(gls::installApp(env, oldVersion.payload, dir, false, progress.callback()).ok);
        ASSERT_TRUE(writeSetupWithPayload(uninstallerIn(dir), oldVersion.archive));
        ASSERT_TRUE(writeFile(dir + L"\\notes.txt", "the user's own"));
    };
    auto inTheWay = [&](const std::wstring& dir, const MemoryPayload& newVersion, const std::wstring& what) {
        auto before = snapshotTree(dir);
        InstallResult result = gls::installApp(env, newVersion.payload, dir, false, progress.callback());
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(gls::sayInEnglish(result.message), L"Setup needs the place of " + dir + L"\\" + what +
                                      L" for Glimmerline's files, and what is there is not Glimmerline's. Move it "
                                      L"elsewhere, then run Setup again. Nothing was changed.");
        EXPECT_EQ(result.reason, L"something was in the way");
        EXPECT_EQ(snapshotTree(dir), before);
    };
    auto heldLast = [&](const std::wstring& dir, const MemoryPayload& newVersion) {
        auto before = snapshotTree(dir);
        HeldFile held(dir + L"\\z-last.dll");
        ASSERT_TRUE(held.holding());
        ShortFileWaits shortWaits;
        InstallResult result = gls::installApp(env, newVersion.payload, dir, false, progress.callback());
        EXPECT_EQ(result.reason, L"a file was in use");
        EXPECT_EQ(snapshotTree(dir), before);
    };

    // A folder that becomes a file.
    std::wstring dir = folder / L"Apps\\FolderToFile";
    MemoryPayload folderVersion = makePayload({{kAppPayloadName, "old"}, {"plugins/x.dll", "old"}, {"z-last.dll", "old"}});
    MemoryPayload fileVersion = makePayload({{kAppPayloadName, "new"}, {"plugins", "now a file"}, {"z-last.dll", "new"}});
    installOld(dir, folderVersion);
    ASSERT_TRUE(writeFile(dir + L"\\plugins\\mine.txt", "the user's, among the old version's"));
    inTheWay(dir, fileVersion, L"plugins");
    ASSERT_TRUE(::DeleteFileW((dir + L"\\plugins\\mine.txt").c_str()));
    heldLast(dir, fileVersion);
    ASSERT_TRUE(gls::installApp(env, fileVersion.payload, dir, false, progress.callback()).ok);
    EXPECT_EQ(readFile(dir + L"\\plugins"), "now a file");
    EXPECT_EQ(readFile(dir + L"\\notes.txt"), "the user's own");
    EXPECT_TRUE(setupWorkEntries(dir).empty());

    // A file that becomes a folder: in the way when it is the user's, taken aside when it is the
    // old version's.
    dir = folder / L"Apps\\FileToFolder";
    MemoryPayload withFolder = makePayload({{kAppPayloadName, "new"}, {"plugins/x.dll", "new"}, {"z-last.dll", "new"}});
    installOld(dir, makePayload({{kAppPayloadName, "old"}, {"z-last.dll", "old"}}));
    ASSERT_TRUE(writeFile(dir + L"\\plugins", "the user's file of that name"));
    inTheWay(dir, withFolder, L"plugins");
    ASSERT_TRUE(::DeleteFileW((dir + L"\\plugins").c_str()));
    installOld(dir, makePayload({{kAppPayloadName, "old"}, {"plugins", "old"}, {"z-last.dll", "old"}}));
    heldLast(dir, withFolder);
    ASSERT_TRUE(gls::installApp(env, withFolder.payload, dir, false, progress.callback()).ok);
    EXPECT_EQ(readFile(dir + L"\\plugins\\x.dll"), "new");
    EXPECT_EQ(readFile(dir + L"\\notes.txt"), "the user's own");
    EXPECT_TRUE(setupWorkEntries(dir).empty());
}

// Whatever is joined to an unknown folder would land in the current directory.
TEST_F(InstallJob, NoFolderIsEverTheCurrentDirectory)
{
    std::wstring current = folder / L"Current";
    std::filesystem::create_directories(current);
    ASSERT_TRUE(::SetCurrentDirectoryW(current.c_str()));
    env.testMode = false; // the job's test-folder rule would refuse these folders first
    MemoryPayload payload = makePayload({{kAppPayloadName, "app"}});

    // No install folder, or one that is no whole path.
    const std::pair<const wchar_t*, const wchar_t*> unusable[] = {
        {L"", L"Pick a folder to install into."},
        {L"Glimmerline", L"Pick a whole folder path, starting with a drive letter."}};
    for (const auto& [dir, message] : unusable) {
        InstallResult result = gls::installApp(env, payload.payload, dir, false, progress.callback());
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(gls::sayInEnglish(result.message), message);
        EXPECT_EQ(result.reason, L"its folder can't be used");
    }
    EXPECT_TRUE(treePaths(current).empty());
    EXPECT_FALSE(gls::readUserString(registry.uninstallKey(), gls::kInstallLocation).has_value());

    // No Start-menu folder and no desktop: the shortcuts are skipped, made or removed.
    env.startMenuPrograms.clear();
    env.desktopDir.clear();
    std::wstring dir = folder / L"Apps\\Glimmerline";
    ASSERT_TRUE(gls::installApp(env, payload.payload, dir, true, progress.callback()).ok);
    EXPECT_TRUE(treePaths(current).empty());
    ASSERT_TRUE(makeShortcutFile(shortcutIn(current), appExeIn(dir)));
    ASSERT_TRUE(gls::installApp(env, payload.payload, dir, false, progress.callback()).ok);
    EXPECT_EQ(treePaths(current), std::vector<std::wstring>{kShortcutName});
    ::SetCurrentDirectoryW(L"C:\\");
}

TEST_F(InstallJob, LeftoversOfAnInterruptedRunAreCleared)
{
    std::wstring dir = folder / L"Apps\\Glimmerline";
    ASSERT_TRUE(writeFile(appExeIn(dir + L"\\" + kStagingPrefix), "half staged"));
    ASSERT_TRUE(writeFile(dir + L"\\" + kOldFilesPrefix + L"-99999\\deep\\old.dll", "moved aside long ago"));
    MemoryPayload payload = makePayload({{kAppPayloadName, "app"}});
    ASSERT_TRUE(gls::installApp(env, payload.payload, dir, false, progress.callback()).ok);
    EXPECT_FALSE(!setupWorkEntries(dir).empty());
    EXPECT_EQ(readFile(appExeIn(dir)), "app");
}

TEST_F(InstallJob, ReadOnlyOldFileIsReplaced)
{
    std::wstring dir = folder / L"Apps\\Glimmerline";
    ASSERT_TRUE(writeFile(appExeIn(dir), "old, read-only"));
    ASSERT_TRUE(::SetFileAttributesW(appExeIn(dir).c_str(), FILE_ATTRIBUTE_READONLY));
    MemoryPayload payload = makePayload({{kAppPayloadName, "new"}});
    ASSERT_TRUE(gls::installApp(env, payload.payload, dir, false, progress.callback()).ok);
    EXPECT_EQ(readFile(appExeIn(dir)), "new");
}

TEST_F(InstallJob, OutsideTheTestFolderNothingHappens)
{
    MemoryPayload payload = makePayload({{kAppPayloadName, "app"}});
    InstallResult result = gls::installApp(env, payload.payload, L"C:\\gls-outside\\Glimmerline", false, progress.callback());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(gls::sayInEnglish(result.message), L"(test) The folder is outside the test folder.");
    EXPECT_EQ(result.reason, L"(test) the folder is outside the test folder");
    EXPECT_TRUE(progress.reports.empty());
    EXPECT_FALSE(exists(L"C:\\gls-outside"));
}

TEST_F(InstallJob, FolderThatCannotBeWrittenFailsAtTheProbe)
{
    ASSERT_TRUE(writeFile(folder / L"Apps", "a file where a folder should be"));
    std::wstring dir = folder / L"Apps\\Glimmerline";
    MemoryPayload payload = makePayload({{kAppPayloadName, "app"}});
    InstallResult result = gls::installApp(env, payload.payload, dir, false, progress.callback());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(gls::sayInEnglish(result.message), L"Windows did not let Setup write in " + dir +
                                  L". Pick a folder in your own user folder, or check that the drive has room.");
    EXPECT_EQ(result.reason, L"its folder can't be written");
    EXPECT_FALSE(exists(dir + L"\\" + kStagingPrefix));
    EXPECT_EQ(readFile(folder / L"Apps"), "a file where a folder should be");
}

TEST_F(InstallJob, RegistryRefusingTheKeyLeavesTheFilesAndMakesNoShortcut)
{
    // A key name component longer than the registry's 255-character limit cannot be created.
    env.uninstallKey = registry.uninstallKey() + L"\\" + std::wstring(300, L'k');
    std::wstring dir = folder / L"Apps\\Glimmerline";
    MemoryPayload payload = makePayload({{kAppPayloadName, "app"}});
    InstallResult result = gls::installApp(env, payload.payload, dir, true, progress.callback());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(gls::sayInEnglish(result.message), L"Glimmerline is copied, but Windows did not let Setup add it to its list of apps.");
    EXPECT_EQ(result.reason, L"Windows did not list it");
    EXPECT_EQ(readFile(appExeIn(dir)), "app");
    EXPECT_FALSE(exists(shortcutIn(env.startMenuPrograms)));
    EXPECT_FALSE(exists(shortcutIn(env.desktopDir)));
}

TEST_F(InstallJob, FileHeldOpenIsReportedAndEverythingSwappedIsPutBack)
{
    std::wstring dir = folder / L"Apps\\Glimmerline";
    MemoryPayload oldVersion = makePayload(
        {{kAppPayloadName, "old app"}, {"a/first.txt", "old first"}, {"z-last.dll", "old last"}});
    ASSERT_TRUE(gls::installApp(env, oldVersion.payload, dir, false, progress.callback()).ok);
    // An old file marked read-only and hidden is put back marked so.
    const DWORD marks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    std::wstring marked = dir + L"\\a\\first.txt";
    ASSERT_TRUE(::SetFileAttributesW(marked.c_str(), marks));
    ASSERT_EQ(::GetFileAttributesW(marked.c_str()) & marks, marks);
    auto before = snapshotTree(dir);

    MemoryPayload newVersion = makePayload(
        {{kAppPayloadName, "new app"}, {"a/first.txt", "new first"}, {"z-last.dll", "new last"}, {"new.txt", "n"}});
    {
        HeldFile held(dir + L"\\z-last.dll");
        ASSERT_TRUE(held.holding());
        ShortFileWaits shortWaits(1000);
        ULONGLONG start = ::GetTickCount64();
        InstallResult result = gls::installApp(env, newVersion.payload, dir, false, progress.callback());
        ULONGLONG took = ::GetTickCount64() - start;
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(gls::sayInEnglish(result.message), L"Another program has z-last.dll open. Close it, then run Setup again. Nothing was changed.");
        EXPECT_EQ(result.reason, L"a file was in use");
        EXPECT_GE(took, 1000u); // the file was given its whole budget
    }
    EXPECT_EQ(snapshotTree(dir), before);
    EXPECT_EQ(::GetFileAttributesW(marked.c_str()) & marks, marks);

    // Held at the very first file, the message names the app itself.
    {
        HeldFile held(appExeIn(dir));
        ASSERT_TRUE(held.holding());
        ShortFileWaits shortWaits;
        InstallResult result = gls::installApp(env, newVersion.payload, dir, false, progress.callback());
        EXPECT_EQ(gls::sayInEnglish(result.message),
                  L"Another program has Glimmerline.exe open. Close it, then run Setup again. Nothing was changed.");
    }
    EXPECT_EQ(snapshotTree(dir), before);
    ::SetFileAttributesW(marked.c_str(), FILE_ATTRIBUTE_NORMAL); // so that the test folder can go
}

TEST_F(CopyPhase, StagedFileAlteredBeforeVerifyingIsCaught)
{
    stageOver(kAppExe, "installed", {{kAppPayloadName, "new app"}, {"b.txt", "bee"}});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(writeFile(phase.files[1].stagedPath, "BEE"));
    EXPECT_FALSE(gls::verifyStaged(phase, progress.callback(), result));
    EXPECT_EQ(gls::sayInEnglish(result.message), L"A file did not read back as it was written. Check the drive, then run Setup again.");
    EXPECT_EQ(result.reason, L"a file did not read back");
    EXPECT_EQ(snapshotTree(dir), before);
}

TEST_F(CopyPhase, RollbackOfAFreshInstallTakesTheNewFilesBack)
{
    stageOver(L"user.txt", "the user's", {{kAppPayloadName, "app"}, {"sub/b.txt", "bee"}});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(gls::verifyStaged(phase, progress.callback(), result));
    ASSERT_TRUE(gls::swapFiles(phase, progress.callback(), result));
    ASSERT_EQ(phase.journal.size(), 3u); // the two files, and the folder the second one needed
    EXPECT_FALSE(phase.journal[0].movedAside);
    EXPECT_TRUE(gls::rollBack(phase.journal, phase.stagingDir, phase.installDir, phase.oldFilesDir));
    EXPECT_EQ(snapshotTree(dir), before); // the folder it made is gone too
}

TEST_F(CopyPhase, DriveFillingUpDuringStaging)
{
    // The test bench maps a small RAM drive as S: when it may mount one.
    if (::GetDriveTypeW(L"S:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small drive S: is mapped (mounting needs root)";
    dir = L"S:\\Glimmerline-" + std::to_wstring(::GetCurrentProcessId());
    std::string big(8u << 20, 'x'); // more than the drive holds
    planOver(kAppExe, "installed", {{kAppPayloadName, "app"}, {"big.bin", big}});
    if (HasFatalFailure()) return;
    EXPECT_FALSE(gls::stageFiles(phase, progress.callback(), result));
    EXPECT_EQ(gls::sayInEnglish(result.message), L"The drive is full. Make some room and run Setup again.");
    EXPECT_EQ(result.reason, L"the drive is full");
    EXPECT_FALSE(exists(dir + L"\\" + kStagingPrefix));
    EXPECT_EQ(snapshotTree(dir), before);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

TEST(InstallPieces, SystemErrorTextAndEstimatedSize)
{
    EXPECT_EQ(gls::systemErrorText(2).substr(gls::systemErrorText(2).size() - 4), L" (2)");
    EXPECT_GT(gls::systemErrorText(2).size(), 4u);
    EXPECT_NE(gls::systemErrorText(2).back(), L'.');
    EXPECT_EQ(gls::systemErrorText(0x7FFFFF01u), L" (2147483393)");
    EXPECT_EQ(gls::estimatedSizeKiB(1), 1u);
    EXPECT_EQ(gls::estimatedSizeKiB(1048576), 1024u);
    EXPECT_EQ(gls::estimatedSizeKiB(1048577), 1025u);
    EXPECT_EQ(gls::estimatedSizeKiB((1ull << 42) + 1), 1u); // truncated to 32 bits
}
