// The real setup ended with TerminateProcess at random moments of a silent install, update and
// uninstall, then run again to completion: every run converges to the state a clean run leaves,
// and no byte of the user's own files changes at any point.
//
// GLS_KILL_ROUNDS sets the number of kills per kind of run.
#include "e2e_fixture.h"
#include "fault_seed.h"
#include "install_fixture.h"
#include "platform/shell_link.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>

using namespace gls::test;
namespace fs = std::filesystem;

namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

// A quiet uninstall started from the install folder hands over to its copy in the temporary
// folder: there the copy is what gets killed.
enum class Job { Fresh, Update, Uninstall, QuietUninstallFromFolder };

const char* runName(Job run)
{
    switch (run) {
    case Job::Fresh: return "fresh install";
    case Job::Update: return "update";
    case Job::Uninstall: return "uninstall";
    case Job::QuietUninstallFromFolder: return "quiet uninstall from the folder";
    }
    return "";
}

bool removes(Job run) { return run == Job::Uninstall || run == Job::QuietUninstallFromFolder; }

// Ends every process whose program file has this name, and the command interpreter one of them
// may have been starting to delete its file: under Wine a process started by one that is killed
// during the start can hang for good, holding the test runner's output open.
void killProcessesNamed(const std::wstring& exeName, UINT code)
{
    std::vector<DWORD> killed;
    for (const PROCESSENTRY32W& p : processes()) {
        if (_wcsicmp(p.szExeFile, exeName.c_str()) != 0) continue;
        endProcessById(p.th32ProcessID, code);
        killed.push_back(p.th32ProcessID);
    }
    if (killed.empty()) return;
    // A child still being created shows in the list a moment later: look for a while.
    for (int look = 0; look < 20; ++look) {
        for (const PROCESSENTRY32W& p : processes()) {
            bool orphan = std::find(killed.begin(), killed.end(), p.th32ParentProcessID) != killed.end();
            if (orphan && _wcsicmp(p.szExeFile, L"cmd.exe") == 0) endProcessById(p.th32ProcessID, code);
        }
        ::Sleep(50);
    }
}

std::string randomBytes(std::mt19937_64& rng, size_t size)
{
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() & 0xFF);
    return bytes;
}

// Two versions of the app that share most names with different bytes; each also has files the
// other lacks, the old one in a folder of its own that must go with it.
void makeVersions(Files& oldFiles, Files& newFiles)
{
    std::mt19937_64 rng(7);
    auto version = [&](Files& files, const std::string& tag) {
        files.push_back({kAppPayloadName, randomBytes(rng, 1500000)});
        files.push_back({"Glimmerline.vst3/Contents/x86_64-win/Glimmerline.vst3", randomBytes(rng, 900000)});
        files.push_back({"m4l/Glimmerline Feed.amxd", randomBytes(rng, 300000)});
        files.push_back({"m4l/glimmerline_feed.js", "// feed " + tag + "\n"});
        for (int i = 0; i < 12; ++i) {
            files.push_back({"live/Glimmerline/part" + std::to_string(i) + ".py", randomBytes(rng, 4000 + 1500 * i)});
        }
        files.push_back({"License.txt", "License " + tag + "\n"});
    };
    version(oldFiles, "0.9");
    oldFiles.push_back({"so_hook.dll", randomBytes(rng, 12000)});
    oldFiles.push_back({"docs/Old Guide.txt", "the old guide\n"});
    version(newFiles, "1.1");
    newFiles.push_back({"resources/wave.hlsl", randomBytes(rng, 20000)});
}

std::wstring relativeOf(const std::string& name)
{
    std::wstring relative = widen(name);
    for (wchar_t& c : relative) {
        if (c == L'/') c = L'\\';
    }
    return relative;
}

// Every file below a folder with its bytes.
std::map<std::wstring, std::string> filesBelow(const std::wstring& folder)
{
    std::map<std::wstring, std::string> files;
    for (const std::wstring& relative : treePaths(folder)) {
        std::error_code ec;
        fs::path full = fs::path(folder) / relative;
        if (fs::is_regular_file(full, ec)) files[relative] = readFile(full.wstring());
    }
    return files;
}

// The paths whose contents differ between what is there and what should be.
std::vector<std::wstring> differences(const std::map<std::wstring, std::string>& actual,
                                      const std::map<std::wstring, std::string>& expected)
{
    std::vector<std::wstring> out;
    for (const auto& [path, bytes] : expected) {
        auto it = actual.find(path);
        if (it == actual.end()) {
            out.push_back(L"missing " + path);
        } else if (it->second != bytes) {
            out.push_back(L"different " + path);
        }
    }
    for (const auto& [path, bytes] : actual) {
        if (!expected.contains(path)) out.push_back(L"extra " + path);
    }
    return out;
}

std::string joined(const std::vector<std::wstring>& lines)
{
    std::string out;
    for (const std::wstring& line : lines) out += narrow(line) + "; ";
    return out;
}

// What a round saw when the kill landed.
struct KillSite {
    bool killed = false;                 // false: the run had already ended
    std::string phase;                   // where in the run it landed
    bool entryThere = true;              // the installed-apps entry existed after the kill
    std::vector<std::wstring> namesLost; // old-only files the rerun can no longer know
    DWORD pid = 0;                       // the process started
};

class KillAtRandom : public SetupRun {
protected:
    void SetUp() override
    {
        SetupRun::SetUp();
        seed_ = faultSeed();
        kills_ = static_cast<int>(numberFromEnv(L"GLS_KILL_ROUNDS", stressRun() ? 170 : 11));
        std::printf("%d kills per kind of run\n", kills_);
        RecordProperty("seed", std::to_string(seed_));
        rng_.seed(seed_);

        makeVersions(oldFiles_, newFiles_);
        oldSetup_ = folder / L"OldSetup.exe";
        newSetup_ = folder / L"NewSetup.exe";
        ASSERT_TRUE(writeSetupWithPayload(oldSetup_, archiveOf(oldFiles_)));
        ASSERT_TRUE(writeSetupWithPayload(newSetup_, archiveOf(newFiles_)));
        newSetupBytes_ = readFile(newSetup_);
        oldSetupBytes_ = readFile(oldSetup_);
    }

    static std::wstring appDir(const std::wstring& root) { return root + L"\\" + kTestInstallDir; }
    static std::wstring library(const std::wstring& root) { return root + L"\\Music\\User Library"; }
    static std::wstring deviceFolder(const std::wstring& root)
    {
        return library(root) + L"\\Presets\\Audio Effects\\Max Audio Effect";
    }

    // The user's own files: one in the install folder, the app's settings, and Live's library.
    void placeUserFiles(const std::wstring& root)
    {
        userFiles_ = {
            {appDir(root) + L"\\My notes.txt", "notes the user keeps next to the app\n"},
            {root + L"\\" + kTestSettingsFile, "{\"theme\": \"dark\"}\n"},
            {deviceFolder(root) + L"\\My Effect.adv", "the user's preset"},
            {library(root) + L"\\Remote Scripts\\Mine\\__init__.py", "the user's script"},
            {root + L"\\Roaming\\Ableton\\Live 12\\Preferences\\Library.cfg",
             "<UserLibrary><ProjectPath Value=\"" + narrow(root + L"\\Music") + "\" /></UserLibrary>"},
        };
        for (const auto& [path, bytes] : userFiles_) ASSERT_TRUE(writeFile(path, bytes));
        for (const wchar_t* f : {L"StartMenu\\Programs", L"Desktop"})
            fs::create_directories(fs::path(root + L"\\" + f));
    }

    // What the app put into Live's library itself; the uninstall takes it out.
    static std::vector<std::wstring> liveFiles(const std::wstring& root)
    {
        return {library(root) + L"\\Remote Scripts\\Glimmerline\\__init__.py",
                library(root) + L"\\Remote Scripts\\Glimmerline\\surface.py",
                deviceFolder(root) + L"\\Glimmerline.amxd", deviceFolder(root) + L"\\glimmerline_feed.js"};
    }

    void expectUserFilesUnchanged(const char* when)
    {
        std::vector<std::wstring> changed;
        for (const auto& [path, bytes] : userFiles_) {
            if (readFile(path) != bytes || !exists(path)) changed.push_back(path);
        }
        EXPECT_TRUE(changed.empty()) << "user files changed " << when << ": " << joined(changed);
    }

    // Puts a round's folder into the state the run starts from.
    void prepare(Job run, const std::wstring& root)
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestUninstallKey);
        placeUserFiles(root);
        if (run == Job::Update) {
            ASSERT_EQ(runSetup(oldSetup_, root, L"/S").exitCode, 0u);
        }
        if (removes(run)) {
            ASSERT_EQ(runSetup(newSetup_, root, L"/S").exitCode, 0u);
            for (const std::wstring& path : liveFiles(root)) ASSERT_TRUE(writeFile(path, "Glimmerline's"));
        }
    }

    static const wchar_t* argsOf(Job run) { return run == Job::Uninstall ? L"/uninstall /S" : L"/S"; }
    std::wstring programOf(Job run, const std::wstring& root) const
    {
        return run == Job::QuietUninstallFromFolder ? uninstallerIn(appDir(root)) : newSetup_;
    }

    static std::wstring logPath(const std::wstring& root) { return root + L"\\" + kTestLog; }
    static bool rootLogHas(const std::wstring& root, const std::string& text)
    {
        return readFile(logPath(root)).find(text) != std::string::npos;
    }

    static const char* jobLine(Job run) { return removes(run) ? "] uninstall " : "] install into "; }

    // Waits until the run's log says that its job has begun; false when the run ends first.
    static bool waitForJob(Job run, const std::wstring& root, size_t logSizeBefore, HANDLE process)
    {
        std::wstring log = logPath(root);
        for (int i = 0; i < 20000; ++i) {
            std::string text = readFile(log);
            if (text.size() > logSizeBefore && text.find(jobLine(run), logSizeBefore) != std::string::npos) return true;
            if (::WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return false;
            ::Sleep(1);
        }
        return false;
    }

    // Starts the run and ends it after the delay, counted from the start of the process or, when
    // fromJob is set, of its job; unless it ended first.
    KillSite startAndKill(Job run, const std::wstring& root, DWORD delayMs, bool fromJob)
    {
        KillSite site;
        DWORD pid = 0;
        size_t logSize = readFile(logPath(root)).size();
        UniqueProcess process(
            startProgram(programOf(run, root), argsOf(run), {{L"GLIMMERLINE_SETUP_TEST", root}}, &pid));
        if (!process.get()) {
            ADD_FAILURE() << "the setup did not start";
            return site;
        }
        if (fromJob) waitForJob(run, root, logSize, process.get());
        ::Sleep(delayMs);
        if (run == Job::QuietUninstallFromFolder) {
            // The copy does the work while its starter waits for the result; the starter then
            // ends on its own, having lost the copy.
            killProcessesNamed(uninstallCopyName(pid), kKilledCode);
            site.killed = ::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0 &&
                          rootLogHas(root, "] the copy ended without a result");
        } else {
            ::TerminateProcess(process.get(), kKilledCode);
            ::WaitForSingleObject(process.get(), 30000);
            DWORD code = 0;
            ::GetExitCodeProcess(process.get(), &code);
            site.killed = code == kKilledCode;
        }
        site.pid = pid;
        site.entryThere = appEntryExists();
        // Whatever the moment a removal ends, something of the installation is left for a rerun to find.
        if (removes(run)) {
            EXPECT_TRUE(site.entryThere || !exists(uninstallerIn(appDir(root)))) << "an uninstaller without its entry";
        }
        site.phase = site.killed ? phaseOf(run, root, pid) : "ended before the kill";
        if (run == Job::Update) site.namesLost = oldNamesLost(root);
        return site;
    }

    // Where the kill landed, from the run's own log lines and what is in the install folder.
    std::string phaseOf(Job run, const std::wstring& root, DWORD pid)
    {
        std::vector<std::string> lines = logLines(root);
        std::string banner = "(pid " + std::to_string(pid) + ")";
        size_t from = lines.size();
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].find(banner) != std::string::npos) from = i;
        }
        auto logged = [&](const std::string& text) {
            for (size_t i = from; i < lines.size(); ++i) {
                if (lines[i].find(text) != std::string::npos) return true;
            }
            return false;
        };
        if (from == lines.size()) return "before the log";
        if (removes(run)) {
            if (!logged("] uninstall ")) return "before the job";
            if (logged("] uninstall done")) return "after the job";
            return appEntryExists() ? "removing files" : "after the entry went";
        }
        if (!logged("] install into ")) return "before the job";
        if (logged("] installed ")) return "after the job";
        if (logged("] made ")) return "making shortcuts";
        return setupWorkEntries(appDir(root)).empty() ? "after the copy" : "copying";
    }

    // Files only the old version had, still in the folder while its Uninstall.exe is no longer
    // the old one: the rerun cannot know their names.
    std::vector<std::wstring> oldNamesLost(const std::wstring& root)
    {
        std::vector<std::wstring> lost;
        if (readFile(uninstallerIn(appDir(root))) == oldSetupBytes_) return lost;
        for (const auto& [name, bytes] : oldFiles_) {
            bool shipped = false;
            for (const auto& n : newFiles_) shipped = shipped || n.first == name;
            if (!shipped && exists(appDir(root) + L"\\" + relativeOf(name))) lost.push_back(relativeOf(name));
        }
        return lost;
    }

    void expectInstalled(const std::wstring& root, const KillSite& site)
    {
        std::map<std::wstring, std::string> expected;
        for (const auto& [name, bytes] : newFiles_) expected[relativeOf(name)] = bytes;
        for (const auto& [name, bytes] : oldFiles_) {
            std::wstring relative = relativeOf(name);
            for (const std::wstring& lost : site.namesLost) {
                if (lost == relative) expected[relative] = bytes;
            }
        }
        expected[kUninstallerExe] = newSetupBytes_;
        expected[L"My notes.txt"] = userFiles_.front().second;
        EXPECT_EQ(joined(differences(filesBelow(appDir(root)), expected)), "");
        EXPECT_EQ(joined(setupWorkEntries(appDir(root))), "");
        EXPECT_EQ(appEntryValue(gls::kInstallLocation), appDir(root));
        EXPECT_EQ(gls::shortcutTarget(root + L"\\" + kTestStartMenuShortcut), appExeIn(appDir(root)));
    }

    void expectRemoved(const std::wstring& root, const KillSite& site)
    {
        std::map<std::wstring, std::string> expected{{L"My notes.txt", userFiles_.front().second}};
        EXPECT_EQ(joined(differences(filesBelow(appDir(root)), expected)), "");
        EXPECT_EQ(joined(setupWorkEntries(appDir(root))), "");
        EXPECT_FALSE(appEntryExists());
        EXPECT_FALSE(exists(root + L"\\" + kTestStartMenuShortcut));
        // Killed after the entry went, the rerun finds nothing installed and Live's files stay.
        bool liveMayStay = !site.entryThere;
        if (!liveMayStay) {
            for (const std::wstring& path : liveFiles(root)) EXPECT_FALSE(exists(path)) << narrow(path);
        }
    }

    // One kind of run: a timed run to learn how long it and its job take, then kills at random
    // moments: one round in four anywhere in the run, the others within the job.
    void campaign(Job run)
    {
        DWORD runLength = 0, jobLength = 0;
        {
            std::wstring root = folder / L"timing";
            prepare(run, root);
            size_t logSize = readFile(logPath(root)).size();
            ULONGLONG start = ::GetTickCount64();
            UniqueProcess process(
                startProgram(programOf(run, root), argsOf(run), {{L"GLIMMERLINE_SETUP_TEST", root}}, nullptr));
            ASSERT_TRUE(process.get());
            ASSERT_TRUE(waitForJob(run, root, logSize, process.get()));
            ULONGLONG jobStart = ::GetTickCount64();
            ASSERT_EQ(::WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
            DWORD code = 1;
            ::GetExitCodeProcess(process.get(), &code);
            ASSERT_EQ(code, 0u);
            runLength = static_cast<DWORD>(::GetTickCount64() - start);
            jobLength = static_cast<DWORD>(::GetTickCount64() - jobStart);
        }
        std::map<std::string, int> landed;
        int kills = 0;
        for (int round = 0; kills < kills_ && round < kills_ * 3 && !HasFatalFailure(); ++round) {
            std::wstring root = folder / (widen(runName(run)) + L"-" + std::to_wstring(round));
            bool fromJob = round % 4 != 0;
            DWORD delay = std::uniform_int_distribution<DWORD>(0, fromJob ? jobLength : runLength)(rng_);
            SCOPED_TRACE(std::string(runName(run)) + " round " + std::to_string(round) + ", killed " +
                         std::to_string(delay) + " ms after the start of the " + (fromJob ? "job" : "process") +
                         ", seed " + std::to_string(seed_));
            std::vector<DWORD> interpreters = commandInterpreters();
            prepare(run, root);
            if (HasFatalFailure()) return;

            KillSite site = startAndKill(run, root, delay, fromJob);
            kills += site.killed ? 1 : 0;
            std::string label =
                site.phase + (site.namesLost.empty() ? "" : " (old names lost)") +
                (removes(run) && !site.entryThere && exists(liveFiles(root).front()) ? " (Live files left)" : "");
            ++landed[label];
            SCOPED_TRACE("landed: " + label);
            expectUserFilesUnchanged("by the kill");

            // Run again as a user would: the setup itself, in silence.
            ProcessResult again = runSetup(newSetup_, root, removes(run) ? L"/uninstall /S" : L"/S");
            ASSERT_TRUE(again.finished);
            // An uninstall killed after the entry went finds nothing installed when run again.
            EXPECT_EQ(again.exitCode, removes(run) && !site.entryThere ? 1u : 0u);
            expectUserFilesUnchanged("by the rerun");
            if (removes(run)) {
                expectRemoved(root, site);
            } else {
                expectInstalled(root, site);
            }
            // A copy that finished has a command interpreter delete its file a moment later, from
            // the round's temporary folder: that folder must outlive it.
            if (run == Job::QuietUninstallFromFolder && !site.killed) {
                std::wstring copy = root + L"\\Temp\\" + uninstallCopyName(site.pid);
                for (int i = 0; i < 100 && exists(copy); ++i) ::Sleep(100);
            }
            settleCommandInterpreters(interpreters);
            if (!HasFailure()) {
                std::error_code ec;
                fs::remove_all(fs::path(root), ec);
            }
        }
        std::printf("%s: %d kills in a run of about %lu ms with a job of about %lu ms; landed:\n", runName(run), kills,
                    static_cast<unsigned long>(runLength), static_cast<unsigned long>(jobLength));
        for (const auto& [label, count] : landed) std::printf("  %3d  %s\n", count, label.c_str());
        EXPECT_GE(kills, kills_) << "too few runs were still going when the kill came";
    }

    using UniqueProcess = gls::UniqueKernelHandle;
    static constexpr DWORD kKilledCode = 0xDEAD;

    unsigned long long seed_ = 0;
    int kills_ = 0;
    std::mt19937_64 rng_;
    Files oldFiles_, newFiles_;
    std::wstring oldSetup_, newSetup_;
    std::string oldSetupBytes_, newSetupBytes_;
    std::vector<std::pair<std::wstring, std::string>> userFiles_;
};

} // namespace

TEST_F(KillAtRandom, FreshInstallConverges) { campaign(Job::Fresh); }

TEST_F(KillAtRandom, UpdateConverges) { campaign(Job::Update); }

TEST_F(KillAtRandom, UninstallConverges) { campaign(Job::Uninstall); }

TEST_F(KillAtRandom, QuietUninstallFromTheFolderConverges) { campaign(Job::QuietUninstallFromFolder); }
