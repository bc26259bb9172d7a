// Builds the environment record in normal mode or, when the test variable names a folder, in test mode.
#include "env.h"

#include "core/decimal_text.h"
#include "core/path_join.h"
#include "core/path_rules.h"
#include "core/product.h"
#include "create_folders.h"
#include "file_status.h"
#include "unique_handle.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>

namespace gls {

std::wstring readEnvVar(const wchar_t* name)
{
    wchar_t buffer[2048];
    DWORD length = ::GetEnvironmentVariableW(name, buffer, 2048);
    // 0 means unset or empty; 2048 and more means the value did not fit.
    if (length == 0 || length >= 2048) return {};
    return std::wstring(buffer, length);
}

std::wstring knownFolder(const GUID& id)
{
    UniqueCoTaskString path;
    HRESULT hr = ::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, path.put());
    if (FAILED(hr) || !path) return {};
    return path.get();
}

namespace {

// A variable that names a folder, when it is a whole path: every folder built from a relative
// one would lie in the current directory.
std::wstring folderVar(const wchar_t* name)
{
    std::wstring value = readEnvVar(name);
    return hasAbsoluteForm(value) ? value : std::wstring();
}

// The test folder in lexical normal form: an absolute path of an existing folder.
Checked<std::wstring> checkTestFolder(const std::wstring& value)
{
    if (!hasAbsoluteForm(value) || !isFolder(value)) {
        return refused<std::wstring>(L"GLIMMERLINE_SETUP_TEST names no existing folder: " + value);
    }
    return passed(lexicallyNormal(value));
}

void fillTestMode(Env& env, const std::wstring& testRoot)
{
    env.testMode = true;
    env.testRoot = testRoot;
    env.uninstallKey = L"Software\\GlimmerlineSetupTest\\Uninstall\\Glimmerline";
    env.startMenuPrograms = joinPath(env.testRoot, L"StartMenu", L"Programs");
    env.desktopDir = joinPath(env.testRoot, L"Desktop");
    // The test folder stands for the profile, with the user's folders in it.
    env.userFolders = {env.testRoot, env.desktopDir};
    for (const wchar_t* name : {L"Documents", L"Downloads", L"Music", L"Pictures", L"Videos"}) {
        env.userFolders.push_back(joinPath(env.testRoot, name));
    }
    // As in the normal mode without a programs folder (as under Wine), a LOCALAPPDATA that is
    // blank or no whole path leaves no default install folder and no settings folder.
    if (!folderVar(L"LOCALAPPDATA").empty()) {
        env.defaultInstallDir = joinPath(env.testRoot, L"LocalAppData", L"Programs", kAppName);
        env.settingsDir = joinPath(env.testRoot, L"LocalAppData", kAppName);
    }
    env.abletonDir = joinPath(env.testRoot, L"Roaming", L"Ableton");
    env.tempDir = joinPath(env.testRoot, L"Temp");
    env.appWindowClass = L"GlimmerlineSetupTestApp";
    env.setupWindowClass = L"GlimmerlineSetupTestWindow";
    env.mutexName = L"Local\\GlimmerlineSetupTest.Setup";
    env.noMediaFoundation = !readEnvVar(L"GLIMMERLINE_SETUP_TEST_NOMF").empty();
    // The runs use these as unsigned millisecond counts; a negative value means none.
    env.startDelayMs = std::max(0, readDecimalInt(readEnvVar(L"GLIMMERLINE_SETUP_TEST_DELAY_MS")));
    env.closeTimeoutMs = std::max(0, readDecimalInt(readEnvVar(L"GLIMMERLINE_SETUP_TEST_CLOSE_MS")));
    env.fileWaitMs = std::max(0, readDecimalInt(readEnvVar(L"GLIMMERLINE_SETUP_TEST_WAIT_MS")));
    env.appActsAsAdmin = !readEnvVar(L"GLIMMERLINE_SETUP_TEST_APP_ADMIN").empty();
    createFolders(env.tempDir);
}

void fillNormalMode(Env& env)
{
    env.uninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerline";
    env.startMenuPrograms = knownFolder(FOLDERID_Programs);
    env.desktopDir = knownFolder(FOLDERID_Desktop);
    env.userFolders = {env.desktopDir};
    for (const GUID* id : {&FOLDERID_Profile, &FOLDERID_Documents, &FOLDERID_Downloads, &FOLDERID_Music,
                           &FOLDERID_Pictures, &FOLDERID_Videos}) {
        env.userFolders.push_back(knownFolder(*id));
    }

    std::wstring localAppData = folderVar(L"LOCALAPPDATA");
    std::wstring programs = knownFolder(FOLDERID_UserProgramFiles);
    if (programs.empty() && !localAppData.empty()) programs = joinPath(localAppData, L"Programs");
    // Without a programs folder there is no default: a bare "Glimmerline" would be relative.
    if (!programs.empty()) env.defaultInstallDir = joinPath(programs, kAppName);

    // The settings folder comes from the variable only, never from a known folder.
    if (!localAppData.empty()) env.settingsDir = joinPath(localAppData, kAppName);
    std::wstring appData = folderVar(L"APPDATA");
    if (!appData.empty()) env.abletonDir = joinPath(appData, L"Ableton");

    wchar_t temp[261];
    DWORD length = ::GetTempPathW(261, temp);
    if (length != 0 && length < 261 && hasAbsoluteForm(temp)) env.tempDir.assign(temp, length);

    env.appWindowClass = L"GlimmerlineMain";
    env.setupWindowClass = L"GlimmerlineSetupWindow";
    env.mutexName = L"Local\\Glimmerline.Setup";
}

} // namespace

Checked<Env> buildEnv()
{
    Env env;
    std::wstring testFolder = readEnvVar(L"GLIMMERLINE_SETUP_TEST");
    if (testFolder.empty()) {
        fillNormalMode(env);
        return passed(std::move(env));
    }
    Checked<std::wstring> root = checkTestFolder(testFolder);
    if (!root.ok()) return refused<Env>(root.problem);
    fillTestMode(env, root.value);
    return passed(std::move(env));
}

} // namespace gls
