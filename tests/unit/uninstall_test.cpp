// Live's User Libraries, the Live script and device, and the uninstall job, through real files,
// real held files and the real registry under a test key of their own.
#include "installation/apps_entry.h"
#include "install/install_job.h"
#include "platform/user_registry.h"
#include "install_fixture.h"
#include "product_names.h"
#include "uninstall/live_files.h"
#include "uninstall/uninstall_job.h"
#include "uninstall/user_libraries.h"

#include <gtest/gtest.h>

using namespace gls::test;

namespace {

// "<ableton>\<version>\Preferences\Library.cfg" naming a ProjectPath, written at a given age.
void writeConfig(const std::wstring& ableton, const std::wstring& version, const std::string& projectPath,
                 int minutesOld)
{
    std::wstring cfg = ableton + L"\\" + version + L"\\Preferences\\Library.cfg";
    ASSERT_TRUE(writeFile(cfg, "<?xml version=\"1.0\"?>\r\n<Ableton>\r\n <ContentLibrary>\r\n  <ProjectPath Value=\"C:\\\\old\" />\r\n"
                               " </ContentLibrary>\r\n <UserLibrary>\r\n  <LibraryProject>\r\n   <ProjectPath Value=\"" +
                                   projectPath + "\" />\r\n  </LibraryProject>\r\n </UserLibrary>\r\n</Ableton>\r\n"));
    HANDLE file = ::CreateFileW(cfg.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart -= static_cast<unsigned long long>(minutesOld) * 60 * 10000000ull;
    FILETIME when{t.LowPart, t.HighPart};
    ::SetFileTime(file, nullptr, nullptr, &when);
    ::CloseHandle(file);
}

// A User Library holding the script (with a module of the given name) and the device files.
void fillLibrary(const std::wstring& library, const std::wstring& module = L"engine.pyd")
{
    ASSERT_TRUE(writeFile(library + L"\\Remote Scripts\\Glimmerline\\__init__.py", "init"));
    ASSERT_TRUE(writeFile(library + L"\\Remote Scripts\\Glimmerline\\" + module, "module"));
    ASSERT_TRUE(writeFile(library + L"\\Presets\\Audio Effects\\Max Audio Effect\\Glimmerline.amxd", "device"));
    ASSERT_TRUE(writeFile(library + L"\\Presets\\Audio Effects\\Max Audio Effect\\glimmerline_feed.js", "js"));
    ASSERT_TRUE(writeFile(library + L"\\Presets\\Audio Effects\\Max Audio Effect\\Other.amxd", "the user's"));
}

// The demo payload installed into the environment's default folder, with the real setup as its
// uninstaller, whose index lists the ten files.
void installBuilt(const gls::Env& env, bool desktopShortcut)
{
    BuiltPayload built;
    ASSERT_TRUE(loadBuiltPayload(built));
    ProgressLog installing;
    ASSERT_TRUE(gls::installApp(env, built.payload, env.defaultInstallDir, desktopShortcut, installing.callback()).ok);
    ASSERT_TRUE(::CopyFileW(setupExePath().c_str(), uninstallerIn(env.defaultInstallDir).c_str(), FALSE));
}

// A test folder, a registry key of the test's own, and the environment over both.
class UninstallJob : public ::testing::Test {
protected:
    TestFolder folder;
    RegistryScope registry;
    gls::Env env = testEnv(folder, registry);
    ProgressLog progress;
};

} // namespace

TEST(UserLibraries, NewestFirstEachOnceCaseCounts)
{
    TestFolder folder;
    std::wstring ableton = folder / L"Ableton";
    std::string a = narrow(folder / L"Music\\A");
    writeConfig(ableton, L"Live 11.3", a, 60);
    writeConfig(ableton, L"Live 12.1", a + "\\.", 5);                    // the same folder, newer
    writeConfig(ableton, L"Live 12.0", narrow(folder / L"Music\\B"), 30);
    std::string lower = a;
    lower.back() = 'a';
    writeConfig(ableton, L"Live 10", lower, 90);                        // another case: another entry
    writeConfig(ableton, L"Live 9", "", 1);                             // empty value
    writeConfig(ableton, L"Live 8", "C:/Music/With&amp;Entity", 120);   // kept as written
    ASSERT_TRUE(writeFile(ableton + L"\\Live 7\\Preferences\\Library.cfg",
                          "<ProjectPath Value=\"C:\\before\" /><UserLibrary></UserLibrary>"));
    ASSERT_TRUE(writeFile(ableton + L"\\stray.txt", "a file"));

    std::vector<std::wstring> libraries = gls::findUserLibraries(ableton);
    ASSERT_EQ(libraries.size(), 4u);
    EXPECT_EQ(libraries[0], folder / L"Music\\A\\User Library");
    EXPECT_EQ(libraries[1], folder / L"Music\\B\\User Library");
    EXPECT_EQ(libraries[2], widen(lower) + L"\\User Library");
    EXPECT_EQ(libraries[3], L"C:\\Music\\With&amp;Entity\\User Library");

    TestFolder onlyFiles;
    ASSERT_TRUE(writeFile(onlyFiles / L"x.cfg", "<UserLibrary><ProjectPath Value=\"C:\\x\""));
    EXPECT_TRUE(gls::findUserLibraries(onlyFiles.path()).empty());
    EXPECT_TRUE(gls::findUserLibraries(folder / L"missing").empty());
}

TEST(LiveFiles, CanRemoveNowProbesWithoutDeleting)
{
    TestFolder folder;
    EXPECT_TRUE(gls::canRemoveNow(folder / L"missing.pyd"));
    EXPECT_FALSE(gls::canRemoveNow(folder / L"missing-folder\\x.pyd"));
    ASSERT_TRUE(writeFile(folder / L"free.pyd", "x"));
    EXPECT_TRUE(gls::canRemoveNow(folder / L"free.pyd"));
    EXPECT_TRUE(exists(folder / L"free.pyd")); // the probe never deletes
    ASSERT_TRUE(writeFile(folder / L"held.pyd", "x"));
    ASSERT_TRUE(writeFile(folder / L"shared.py", "x"));
    HeldFile held(folder / L"held.pyd");
    HeldFile shared(folder / L"shared.py", true);
    ASSERT_TRUE(held.holding() && shared.holding());
    EXPECT_FALSE(gls::canRemoveNow(folder / L"held.pyd"));
    EXPECT_TRUE(gls::canRemoveNow(folder / L"shared.py"));
    EXPECT_TRUE(exists(folder / L"shared.py"));
    // Held with delete sharing, it really can be deleted.
    EXPECT_TRUE(::DeleteFileW((folder / L"shared.py").c_str()));
}

TEST(LiveFiles, HeldModuleKeepsTheScriptWholeWhileTheDeviceGoes)
{
    TestFolder folder;
    gls::Env env = testEnv(folder);
    std::wstring first = folder / L"First\\User Library";
    std::wstring second = folder / L"Second\\User Library";
    writeConfig(env.abletonDir, L"Live 12", narrow(folder / L"First"), 1);
    writeConfig(env.abletonDir, L"Live 11", narrow(folder / L"Second"), 10);
    writeConfig(env.abletonDir, L"Live 10", "C:\\gls-outside-test", 20); // outside the test folder: left alone
    fillLibrary(first);
    fillLibrary(second, L"feed.py");
    ASSERT_TRUE(::SetFileAttributesW((second + L"\\Presets\\Audio Effects\\Max Audio Effect\\glimmerline_feed.js").c_str(),
                                     FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW((second + L"\\Remote Scripts\\Glimmerline\\__init__.py").c_str(), FILE_ATTRIBUTE_READONLY));

    std::vector<gls::LeftFile> left;
    {
        HeldFile held(first + L"\\Remote Scripts\\Glimmerline\\engine.pyd");
        ASSERT_TRUE(held.holding());
        left = gls::removeLiveFiles(env);
    }
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].path, first + L"\\Remote Scripts\\Glimmerline");
    EXPECT_EQ(left[0].why, gls::Refusal::InUse);
    EXPECT_EQ(left[1].path, second + L"\\Presets\\Audio Effects\\Max Audio Effect\\glimmerline_feed.js");
    EXPECT_EQ(left[1].why, gls::Refusal::Other); // read-only: the user's mark, not a protected folder
    EXPECT_TRUE(exists(first + L"\\Remote Scripts\\Glimmerline\\__init__.py")); // nothing deleted there
    EXPECT_FALSE(exists(first + L"\\Presets\\Audio Effects\\Max Audio Effect\\Glimmerline.amxd"));
    EXPECT_FALSE(exists(second + L"\\Remote Scripts\\Glimmerline"));
    EXPECT_TRUE(exists(second + L"\\Presets\\Audio Effects\\Max Audio Effect\\Other.amxd"));

    // A retry once the module is released takes the rest.
    left = gls::removeLiveFiles(env);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_FALSE(exists(first + L"\\Remote Scripts\\Glimmerline"));
}

TEST(LiveFiles, ProtectedLibraryKeepsEverythingAndSaysWhy)
{
    // As Windows Security's controlled folder access protects Documents, where the library lives.
    TestFolder folder;
    gls::Env env = testEnv(folder);
    std::wstring library = folder / L"Documents\\User Library";
    writeConfig(env.abletonDir, L"Live 12", narrow(folder / L"Documents"), 1);
    fillLibrary(library);
    auto before = snapshotTree(library);
    ReadOnlyMount protectedFolder(library);
    if (!protectedFolder.mounted()) GTEST_SKIP() << "a read-only mount needs root";
    ShortFileWaits shortWaits; // access denied is waited for a while, as a scanner may be behind it

    std::vector<gls::LeftFile> left = gls::removeLiveFiles(env);
    ASSERT_EQ(left.size(), 3u);
    for (const gls::LeftFile& f : left) EXPECT_EQ(f.why, gls::Refusal::Protected) << narrow(f.path);
    EXPECT_EQ(left[0].path, library + L"\\Remote Scripts\\Glimmerline");
    EXPECT_EQ(snapshotTree(library), before);
}

TEST(LiveFiles, ScriptPathThatIsAFileIsLeftAlone)
{
    TestFolder folder;
    gls::Env env = testEnv(folder);
    writeConfig(env.abletonDir, L"Live 12", narrow(folder / L"Music"), 1);
    ASSERT_TRUE(writeFile(folder / L"Music\\User Library\\Remote Scripts\\Glimmerline", "a file"));
    EXPECT_TRUE(gls::removeLiveFiles(env).empty());
    EXPECT_TRUE(exists(folder / L"Music\\User Library\\Remote Scripts\\Glimmerline"));
    env.abletonDir.clear();
    EXPECT_TRUE(gls::removeLiveFiles(env).empty());
}

TEST(LiveFiles, ScriptFolderThatIsALinkGoesAsALinkAndNothingBehindIt)
{
    // A developer's working copy, linked in as the script folder of two User Libraries.
    TestFolder folder;
    gls::Env env = testEnv(folder);
    std::wstring working = folder / L"Working copy";
    ASSERT_TRUE(writeFile(working + L"\\__init__.py", "the developer's"));
    ASSERT_TRUE(writeFile(working + L"\\engine\\feed.py", "the developer's"));
    writeConfig(env.abletonDir, L"Live 12", narrow(folder / L"Linked"), 1);
    writeConfig(env.abletonDir, L"Live 11", narrow(folder / L"Joined"), 2);
    std::wstring link = folder / L"Linked\\User Library\\Remote Scripts\\Glimmerline";
    std::wstring junction = folder / L"Joined\\User Library\\Remote Scripts\\Glimmerline";
    ASSERT_TRUE(writeFile(folder / L"Linked\\User Library\\Remote Scripts\\Mine\\x.py", "x"));
    ASSERT_TRUE(writeFile(folder / L"Joined\\User Library\\Remote Scripts\\Mine\\x.py", "x"));
    ASSERT_TRUE(makeFolderLink(link, working));
    bool joined = makeJunction(junction, working); // Wine cannot make one

    std::vector<gls::LeftFile> left = gls::removeLiveFiles(env);
    EXPECT_EQ(readFile(working + L"\\__init__.py"), "the developer's");
    EXPECT_EQ(readFile(working + L"\\engine\\feed.py"), "the developer's");
    if (joined) {
        EXPECT_FALSE(exists(junction));
    }
    if (underWine()) {
        GTEST_SKIP() << "Wine's RemoveDirectoryW follows a symbolic link to a folder and fails with "
                        "ERROR_DIR_NOT_EMPTY instead of removing the link, and Wine cannot make a junction "
                        "(FSCTL_SET_REPARSE_POINT fails with ERROR_NOT_SUPPORTED)";
    }
    EXPECT_TRUE(joined);
    EXPECT_FALSE(exists(link));
    EXPECT_TRUE(left.empty());
}

TEST(UserLibraries, ConfigurationsThatNameNoUsableFolderAreSkipped)
{
    TestFolder folder;
    gls::Env env = testEnv(folder);
    std::wstring thesis = folder / L"thesis.docx";
    std::wstring projects = folder / L"Projects";
    ASSERT_TRUE(writeFile(thesis, "the user's thesis"));
    ASSERT_TRUE(writeFile(projects + L"\\song.als", "the user's song"));
    // A NUL in the value: a call that takes a C string would stop there and act on the user's
    // file or folder itself.
    writeConfig(env.abletonDir, L"Live 12", narrow(thesis) + std::string(1, '\0'), 1);
    writeConfig(env.abletonDir, L"Live 11", narrow(projects) + std::string(1, '\0') + "x", 2);
    writeConfig(env.abletonDir, L"Live 10", narrow(folder / L"Tab\there"), 3);
    // More than 4 MiB is no Live configuration, even when it names a library.
    std::wstring big = folder / L"Big";
    fillLibrary(big + L"\\User Library");
    std::string huge = "<UserLibrary><ProjectPath Value=\"" + narrow(big) + "\" /></UserLibrary>";
    huge.resize(4 * 1024 * 1024 + 1, ' ');
    ASSERT_TRUE(writeFile(env.abletonDir + L"\\Live 9\\Preferences\\Library.cfg", huge));

    EXPECT_TRUE(gls::findUserLibraries(env.abletonDir).empty());
    EXPECT_TRUE(gls::removeLiveFiles(env).empty());
    EXPECT_EQ(readFile(thesis), "the user's thesis");
    EXPECT_EQ(readFile(projects + L"\\song.als"), "the user's song");
    EXPECT_TRUE(exists(big + L"\\User Library\\Remote Scripts\\Glimmerline\\__init__.py"));
}

TEST_F(UninstallJob, RemovesTheListedFilesWithProgressAndKeepsTheUsers)
{
    std::wstring dir = env.defaultInstallDir;
    installBuilt(env, true);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(writeFile(dir + L"\\notes.txt", "the user's"));
    ASSERT_TRUE(writeFile(env.settingsDir + L"\\prefs.json", "{}"));

    gls::UninstallResult result = gls::removeInstallation(env, dir, true, progress.callback());
    EXPECT_TRUE(result.ok) << narrow(gls::sayInEnglish(result.message));
    EXPECT_TRUE(result.settingsRemoved);
    EXPECT_EQ(snapshotTree(dir).size(), 1u); // only the user's file
    EXPECT_EQ(readFile(dir + L"\\notes.txt"), "the user's");
    EXPECT_FALSE(exists(shortcutIn(env.startMenuPrograms)));
    EXPECT_FALSE(exists(shortcutIn(env.desktopDir)));
    EXPECT_FALSE(exists(env.settingsDir));
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, registry.uninstallKey().c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);

    ASSERT_EQ(progress.reports.size(), 1u + 11u + 5u);
    EXPECT_EQ(progress.reports[0], std::make_pair(0.0f, std::wstring(L"Removing Glimmerline")));
    EXPECT_NEAR(progress.reports[1].first, 0.6f / 11, 1e-6);
    EXPECT_EQ(progress.reports[11].first, 0.6f);
    const std::pair<float, std::wstring> tail[] = {{0.7f, L"Removing the shortcuts"},
                                                   {0.8f, L"Removing Glimmerline from Windows"},
                                                   {0.85f, L"Removing the Live script"},
                                                   {0.92f, L"Removing your settings"},
                                                   {1.0f, L"Done"}};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(progress.reports[12 + i], tail[i]);
}

TEST_F(UninstallJob, HeldFileStaysAndTheRestGoesOn)
{
    std::wstring dir = env.defaultInstallDir;
    installBuilt(env, false);
    if (HasFatalFailure()) return;
    HeldFile held(dir + L"\\so_hook.dll");
    ASSERT_TRUE(held.holding());
    ShortFileWaits shortWaits;
    gls::UninstallResult result = gls::removeInstallation(env, dir, false, progress.callback());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(gls::sayInEnglish(result.message), L"Some of Glimmerline's files are in use and stay in " + dir +
                                  L". Delete that folder after a restart.");
    EXPECT_TRUE(exists(dir + L"\\so_hook.dll"));
    EXPECT_FALSE(exists(appExeIn(dir)));
    EXPECT_FALSE(exists(shortcutIn(env.startMenuPrograms)));
}

TEST_F(UninstallJob, UnknownFolderIsLeftUntouched)
{
    std::wstring dir = folder / L"Something";
    ASSERT_TRUE(writeFile(appExeIn(dir), "whose?"));
    ASSERT_TRUE(registry.setString(gls::kInstallLocation, dir));
    // This test program carries no payload and the folder no readable uninstaller.
    gls::UninstallResult result = gls::removeInstallation(env, dir, false, progress.callback());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(gls::sayInEnglish(result.message), L"Setup cannot tell which files in " + dir + L" are Glimmerline's. Nothing was removed.");
    EXPECT_TRUE(exists(appExeIn(dir)));
    EXPECT_EQ(progress.reports.size(), 1u);

    // A missing folder: nothing to tell apart, so the rest is cleaned up. The entry goes only
    // with the folder it names, in any spelling.
    gls::UninstallResult missing = gls::removeInstallation(env, folder / L"Gone", false, progress.callback());
    EXPECT_TRUE(missing.ok);
    EXPECT_EQ(gls::readUserString(registry.uninstallKey(), gls::kInstallLocation), dir);
    ASSERT_TRUE(registry.setString(gls::kInstallLocation, folder / L"GONE\\"));
    EXPECT_TRUE(gls::removeInstallation(env, folder / L"Gone", false, progress.callback()).ok);
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, registry.uninstallKey().c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);

    gls::UninstallResult outside = gls::removeInstallation(env, L"C:\\gls-outside", false, progress.callback());
    EXPECT_EQ(gls::sayInEnglish(outside.message), L"(test) The folder is outside the test folder.");
}
