// The install folder rules through the one call every caller uses.
#include "core/folder_rules.h"
#include "install/install_folder.h"
#include "platform/unique_handle.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <cwctype>
#include <filesystem>
#include <vector>

using gls::test::TestFolder;

namespace {

// The folder when the rules pass it (else empty), and the user's sentence when they refuse it.
struct Outcome {
    std::wstring folder;
    std::wstring message;
};

Outcome check(const std::wstring& text, const gls::Env& env = gls::Env())
{
    gls::FolderCheck checked = gls::checkInstallFolder(env, text);
    return {checked.ok() ? checked.value : L"", gls::sayInEnglish(checked.problem)};
}

const wchar_t kCharacterMessage[] = L"A folder's name cannot have any of these in it: < > \" | ? *";

// A drive letter of the network kind, mapped to a folder by Wine's mount manager the way winecfg
// asks it: the manager makes the drive's link in the prefix's dosdevices folder and writes its
// type ("network") under HKEY_LOCAL_MACHINE\Software\Wine\Drives, and knows it at once. A value
// written there beside a link made by hand reaches the manager only at its next start, or a while
// later when nothing asked for the drive meanwhile. Taken away again, the value included, when it
// goes. Not mapped off Wine: a drive of the network kind needs a share there.
class WineNetworkDrive {
public:
    explicit WineNetworkDrive(const std::wstring& backing)
    {
        std::string mountPoint = gls::test::unixPath(backing);
        DWORD used = ::GetLogicalDrives();
        for (wchar_t c = L'N'; c >= L'H' && letter_ == 0; --c) { // apart from the other-drive test's letters
            if (!(used & (1u << (c - L'A')))) letter_ = c;
        }
        if (mountPoint.empty() || letter_ == 0 || !define(mountPoint)) return;
        mapped_ = ::GetDriveTypeW((root() + L"\\").c_str()) == DRIVE_REMOTE;
        // Wine names a file by the drives it listed in the current second, so the folder is first
        // named on the new drive a moment later.
        for (int i = 0; i < 40 && mapped_ && finalPath(backing).rfind(L"\\\\?\\" + root(), 0) != 0; ++i) ::Sleep(50);
    }
    ~WineNetworkDrive()
    {
        if (letter_ == 0) return;
        define({});
        const wchar_t value[] = {static_cast<wchar_t>(std::towlower(letter_)), L':', L'\0'};
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Wine\\Drives", value);
    }
    WineNetworkDrive(const WineNetworkDrive&) = delete;
    WineNetworkDrive& operator=(const WineNetworkDrive&) = delete;

    bool mapped() const { return mapped_; }
    std::wstring root() const { return {letter_, L':'}; }

private:
    static std::wstring finalPath(const std::wstring& path)
    {
        gls::UniqueFile opened(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        wchar_t buffer[1024] = {};
        DWORD length = opened ? ::GetFinalPathNameByHandleW(opened.get(), buffer, 1024, VOLUME_NAME_DOS) : 0;
        return length < 1024 ? std::wstring(buffer, length) : std::wstring();
    }

    // The mount manager's own request (IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE, as Wine 8 lays it out);
    // without a mount point it takes the drive away.
    struct UnixDrive {
        ULONG size, type, fsType;
        DWORD serial;
        ULONGLONG unixDev;
        WCHAR letter;
        USHORT mountPointOffset, deviceOffset, labelOffset;
    };
    bool define(const std::string& mountPoint)
    {
        gls::UniqueFile manager(::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!manager) return false;
        std::vector<char> request(sizeof(UnixDrive) + mountPoint.size() + 1, 0);
        auto* drive = reinterpret_cast<UnixDrive*>(request.data());
        drive->size = static_cast<ULONG>(request.size());
        drive->type = DRIVE_REMOTE;
        drive->letter = static_cast<WCHAR>(std::towlower(letter_));
        if (!mountPoint.empty()) {
            drive->mountPointOffset = sizeof(UnixDrive);
            mountPoint.copy(request.data() + sizeof(UnixDrive), mountPoint.size());
        }
        const DWORD defineUnixDrive = CTL_CODE(0x6D /* the mount manager's */, 32, METHOD_BUFFERED,
                                               FILE_READ_ACCESS | FILE_WRITE_ACCESS);
        DWORD returned = 0;
        return ::DeviceIoControl(manager.get(), defineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                                 nullptr, 0, &returned, nullptr) != FALSE;
    }

    wchar_t letter_ = 0;
    bool mapped_ = false;
};

} // namespace

TEST(InstallFolder, TrimsQuotesAndBlanks)
{
    EXPECT_EQ(check(L"  \" \"  ").message, L"Pick a folder to install into.");
    EXPECT_EQ(check(L"").message, L"Pick a folder to install into.");
    Outcome c = check(L"  \"C:\\Apps\\Glimmerline\"  ");
    EXPECT_EQ(c.folder, L"C:\\Apps\\Glimmerline");
    EXPECT_EQ(c.message, L""); // no problem
}

TEST(InstallFolder, NeedsAWholePath)
{
    for (const wchar_t* text : {L"Apps\\Glimmerline", L"\\Apps", L"C:Apps", L"C:", L"/x", L"\\\\\\srv"}) {
        Outcome c = check(text);
        EXPECT_EQ(c.folder, L"") << gls::test::narrow(text);
        EXPECT_EQ(c.message, L"Pick a whole folder path, starting with a drive letter.") << gls::test::narrow(text);
    }
    EXPECT_EQ(check(L"c:/apps/x").folder, L"c:\\apps\\x");
    EXPECT_EQ(check(L"C:\\Apps\\Glimmerline\\\\").folder, L"C:\\Apps\\Glimmerline");
}

TEST(InstallFolder, RefusesWholeDrives)
{
    for (const wchar_t* text : {L"C:\\", L"C:/", L"C:\\a\\..\\", L"D:\\.", L"\\\\server\\share\\"}) {
        EXPECT_EQ(check(text).message, L"Pick a folder, not a whole drive.") << gls::test::narrow(text);
    }
}

TEST(InstallFolder, FoldersOnAnotherComputerAreRefused)
{
    const std::wstring kElsewhere = L"That folder is not on this PC. Pick one that is.";
    for (const wchar_t* text : {L"\\\\server\\share\\Glimmerline", L"//server/share/Glimmerline",
                                L"\\\\?\\UNC\\server\\share\\Glimmerline", L"\\\\.\\unc\\server\\share\\Glimmerline"}) {
        EXPECT_EQ(check(text).message, kElsewhere) << gls::test::narrow(text);
    }

    // A network drive's letter, and a link on this PC's drive that leads onto that drive.
    TestFolder folder;
    std::filesystem::create_directories(folder / L"Network\\Share");
    std::filesystem::create_directories(folder / L"Apps");
    WineNetworkDrive drive(folder / L"Network");
    if (!drive.mapped()) GTEST_SKIP() << "no drive of the network kind: only Wine's mount manager declares one here";
    EXPECT_EQ(check(drive.root() + L"\\Apps\\Glimmerline").message, kElsewhere);
    EXPECT_EQ(check(drive.root() + L"\\Share").message, kElsewhere);
    ASSERT_TRUE(gls::test::makeFolderLink(folder / L"Apps\\Shared", folder / L"Network\\Share"));
    EXPECT_EQ(check(folder / L"Apps\\Shared\\Glimmerline").message, kElsewhere);
    EXPECT_EQ(check(folder / L"Apps\\Glimmerline").folder, folder / L"Apps\\Glimmerline"); // beside the link
    EXPECT_TRUE(gls::test::removeFolderLink(folder / L"Apps\\Shared"));
}

TEST(InstallFolder, LengthLimits)
{
    std::wstring at180 = L"C:\\" + std::wstring(177, L'a');
    EXPECT_EQ(check(at180).folder, at180);
    Outcome over = check(at180 + L"b");
    EXPECT_EQ(over.folder, L"");
    EXPECT_EQ(over.message, L"That folder's path is too long. Pick a shorter one.");
    EXPECT_EQ(check(L"C:\\" + std::wstring(1100, L'a')).message, L"That folder's path is too long.");
}

TEST(InstallFolder, ForbiddenCharacters)
{
    for (const wchar_t* text : {L"C:\\a|b", L"C:\\a?b", L"C:\\a\tb", L"C:\\a<b", L"C:\\a>b", L"C:\\a*b", L"C:\\a\"b\\c"}) {
        EXPECT_EQ(check(text).message, kCharacterMessage) << gls::test::narrow(text);
    }
    EXPECT_EQ(check(L"C:\\a:b").folder, L"C:\\a:b");
}

TEST(InstallFolder, ExistingEntries)
{
    TestFolder folder;
    ASSERT_TRUE(gls::test::writeFile(folder / L"file", "x"));
    EXPECT_EQ(check(folder / L"file").message, L"There is a file of that name there. Pick another folder.");
    Outcome existing = check(folder.path() + L"\\");
    EXPECT_EQ(existing.folder, folder.path());
    EXPECT_TRUE(gls::test::exists(folder.path()));
    EXPECT_FALSE(gls::test::exists(folder / L"missing"));
    EXPECT_EQ(check(folder / L"missing\\deeper").folder, folder / L"missing\\deeper");
    EXPECT_FALSE(gls::test::exists(folder / L"missing")); // nothing is created
}

TEST(InstallFolder, TestModeKeepsToTheTestFolder)
{
    TestFolder folder;
    gls::Env env = gls::test::testEnv(folder);
    EXPECT_EQ(check(folder / L"Apps\\Glimmerline", env).folder, folder / L"Apps\\Glimmerline");
    EXPECT_EQ(check(L"C:\\Elsewhere\\Glimmerline", env).message, L"(test) The folder is outside the test folder.");
    EXPECT_EQ(check(folder.path() + L"x", env).message, L"(test) The folder is outside the test folder.");
    env.testRoot.clear();
    EXPECT_EQ(check(folder.path(), env).message, L"(test) The folder is outside the test folder.");
}

TEST(InstallFolder, TheUsersOwnFoldersAndTheirParentsAreRefused)
{
    const wchar_t kOwnFolder[] = L"Your own files are there. Pick another folder.";
    TestFolder folder;
    gls::Env env = gls::test::testEnv(folder); // the test folder is the profile, Documents and the rest in it
    for (const std::wstring& own : {folder.path(), folder / L"Documents", folder / L"desktop\\", folder / L"VIDEOS"}) {
        EXPECT_EQ(check(own, env).message, kOwnFolder) << gls::test::narrow(own);
    }
    EXPECT_EQ(check(folder / L"Documents\\Glimmerline", env).folder, folder / L"Documents\\Glimmerline");
    // Another spelling of one that exists: a link to it.
    std::filesystem::create_directories(folder / L"Music");
    std::filesystem::create_directories(folder / L"Apps");
    ASSERT_TRUE(gls::test::makeFolderLink(folder / L"Apps\\Tunes", folder / L"Music"));
    EXPECT_EQ(check(folder / L"Apps\\Tunes", env).message, kOwnFolder);

    // A folder that holds one of them, as C:\Users holds every profile.
    env.testMode = false;
    env.userFolders = {folder / L"Users\\Ann", folder / L"Users\\Ann\\OneDrive\\Documents"};
    EXPECT_EQ(check(folder / L"Users", env).message, kOwnFolder);
    EXPECT_EQ(check(folder / L"Users\\Ann\\OneDrive", env).message, kOwnFolder);
    EXPECT_EQ(check(folder / L"Users\\Ann\\AppData\\Local\\Programs\\Glimmerline", env).message, L"");
}
