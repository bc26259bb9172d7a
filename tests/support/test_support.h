// Helpers shared by the test programs: fresh test folders, starting programs, reading files.
#pragma once

#include "platform/unique_handle.h"

#include <windows.h>

#include <tlhelp32.h>

#include <string>
#include <utility>
#include <vector>

namespace gls::test {

// The build folder, found from the test program's own place (build\tests\*.exe).
std::wstring buildDir();
std::wstring setupExePath();

// Every process there is: id, parent's id, program file name.
std::vector<PROCESSENTRY32W> processes();

// Ends the process with that id, if it is there, and waits up to 30 s for it to be gone.
void endProcessById(DWORD pid, UINT code);

// The command interpreters running now, by process id: the setup's clean-up starts one to delete a
// finished copy of the uninstaller a moment later.
std::vector<DWORD> commandInterpreters();

// Waits until the command interpreters started since `before` was taken have ended, and ends any
// still there after 10 s: under Wine one whose starter was killed, or whose folder a test removed,
// can hang for good, and it holds the test runner's output open, so that the run never ends. (On
// Windows its folder cannot be removed while it runs.)
void settleCommandInterpreters(const std::vector<DWORD>& before);

// A fresh, empty folder on drive C for one test; removed afterwards unless the test failed, once
// the command interpreters started meanwhile have ended.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& path() const { return path_; }
    // Leaves the folder in place, for files this process keeps open to its end.
    void keep() { keep_ = true; }
    std::wstring operator/(const std::wstring& relative) const;

private:
    std::wstring path_;
    bool keep_ = false;
    std::vector<DWORD> interpretersBefore_ = commandInterpreters();
};

using EnvOverrides = std::vector<std::pair<std::wstring, std::wstring>>;

struct ProcessResult {
    bool started = false;
    bool finished = false; // false: it ran past the time limit and was ended
    DWORD exitCode = 0;
};

// Starts a program with "exe" args, its environment changed by overrides (an empty value
// removes the variable), and waits for it.
ProcessResult runProgram(const std::wstring& exe, const std::wstring& args, const EnvOverrides& overrides,
                         DWORD timeoutMs = 60000);

// Starts a program and returns its process handle (null when it could not be started). Given a
// job, the program runs in it from its first instruction.
HANDLE startProgram(const std::wstring& exe, const std::wstring& args, const EnvOverrides& overrides, DWORD* pid,
                    HANDLE job = nullptr);

// A job that ends every process in it when its last handle is closed, as a terminal tab's, a
// launcher's or an updater's may; with breakawayOk it lets a process be started outside it.
UniqueKernelHandle makeKillOnCloseJob(bool breakawayOk);

// Ends a process this test started, if it still runs, and waits a moment for it to go.
void endProcess(UniqueKernelHandle& process);

// Starts the setup (or a copy of it) in test mode with the given folder.
ProcessResult runSetup(const std::wstring& exe, const std::wstring& testFolder, const std::wstring& args,
                       EnvOverrides extra = {});

std::string readFile(const std::wstring& path);
bool writeFile(const std::wstring& path, const std::string& bytes);
bool exists(const std::wstring& path);

// The setup log of a test folder, split into lines without the byte-order mark and line ends.
std::vector<std::string> logLines(const std::wstring& testFolder);

std::string narrow(const std::wstring& text);
std::wstring widen(const std::string& utf8);

// What the update result file must hold after a run with this exit code and reason: the format
// written out here on its own, with this build's version.
std::string updateResultFile(int code, const std::string& reason);

// Sets an environment variable of this process for one scope, then puts back what was there.
class ScopedEnvVar {
public:
    ScopedEnvVar(const wchar_t* name, const std::wstring& value);
    ~ScopedEnvVar();
    ScopedEnvVar(const ScopedEnvVar&) = delete;
    ScopedEnvVar& operator=(const ScopedEnvVar&) = delete;

private:
    std::wstring name_;
    std::wstring old_;
    bool hadOld_ = false;
};

} // namespace gls::test

namespace gls::test {

// Shortens the wait for a file another program holds, for a test whose files are held for good;
// puts the setup's own budget back afterwards.
class ShortFileWaits {
public:
    explicit ShortFileWaits(unsigned long milliseconds = 200);
    ~ShortFileWaits();
    ShortFileWaits(const ShortFileWaits&) = delete;
    ShortFileWaits& operator=(const ShortFileWaits&) = delete;
};

// A helper process that holds a file open without delete sharing until this object goes, or for
// holdMs milliseconds when that is not 0.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path, bool shareDelete = false, DWORD holdMs = 0);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool holding() const { return holding_; }

private:
    UniqueKernelHandle process_;
    bool holding_ = false;
};

// A helper process that behaves like an on-access virus scanner over a folder tree: it opens every
// file made or renamed there as soon as it can, sharing reading only, and holds it for holdMs
// milliseconds. Ended with this object.
class Scanner {
public:
    Scanner(const std::wstring& folder, DWORD holdMs);
    ~Scanner();
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    bool watching() const { return watching_; }

private:
    UniqueKernelHandle process_;
    bool watching_ = false;
};

// Makes a folder read-only from the host for this object's life, the way a protected folder or
// read-only media refuses changes: a bind mount of the folder on itself, mounted again read-only.
// Needs root; mounted() says whether it worked.
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(const std::wstring& folder);
    ~ReadOnlyMount();
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;

    bool mounted() const { return mounted_; }

private:
    std::string hostPath_;
    bool mounted_ = false;
};

// Makes a link to a folder. Under Wine, whose CreateSymbolicLinkW reports success but makes
// nothing and which cannot make junctions, the host's own symbolic link is made instead; Wine
// shows it as a reparse point. False when no link could be made.
bool makeFolderLink(const std::wstring& link, const std::wstring& target);

// Makes a junction (a mount point) to a folder. False where the system cannot make one: Wine's
// FSCTL_SET_REPARSE_POINT fails with ERROR_NOT_SUPPORTED.
bool makeJunction(const std::wstring& link, const std::wstring& target);

// Removes a link to a folder as a link, never what it leads to.
bool removeFolderLink(const std::wstring& link);

// True when running under Wine.
bool underWine();

// The host's path of a Windows path, under Wine; empty elsewhere.
std::string unixPath(const std::wstring& windowsPath);

// Runs a command line of the host's shell, under Wine, and waits until it has really finished:
// the wait on a host program Wine starts can end before the program has run, so the command
// writes its exit status to a file of its own name once it is done. Its exit status, or -1 off
// Wine or when it did not finish within the limit. Paths in the command go in single quotes.
int runHostCommand(const std::string& command, DWORD limitMs = 30000);

// A shortcut file made with the shell link object.
bool makeShortcutFile(const std::wstring& path, const std::wstring& target);

} // namespace gls::test

namespace gls::test {

// A process started from a program file with switches and runs alongside the test: a stand-in
// app, or a setup in the background. Ended with the object if it still runs.
class StandInApp {
public:
    StandInApp(const std::wstring& exe, const std::wstring& args, const EnvOverrides& env = {});
    ~StandInApp();
    StandInApp(const StandInApp&) = delete;
    StandInApp& operator=(const StandInApp&) = delete;

    DWORD pid() const { return pid_; }
    bool running() const;
    // Waits for the process to end; its exit code, or 259 (still active) after the limit.
    DWORD waitExit(DWORD limitMs = 60000) const;
    // Waits until a top-level window of the class appears; false after the limit.
    static HWND waitForWindow(const std::wstring& className, DWORD limitMs = 10000);

private:
    UniqueKernelHandle process_;
    DWORD pid_ = 0;
};

std::wstring standInExe();

} // namespace gls::test
