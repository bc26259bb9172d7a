// The one environment record the in-process tests build.
#include "test_env.h"

#include "product_names.h"

namespace gls::test {

Env testEnv(const TestFolder& folder)
{
    Env env;
    env.testMode = true;
    env.testRoot = folder.path();
    env.startMenuPrograms = folder / L"StartMenu\\Programs";
    env.desktopDir = folder / L"Desktop";
    env.userFolders = {folder.path(), env.desktopDir};
    for (const wchar_t* name : {L"Documents", L"Downloads", L"Music", L"Pictures", L"Videos"}) {
        env.userFolders.push_back(folder / name);
    }
    env.defaultInstallDir = folder / kTestInstallDir;
    env.settingsDir = folder / kTestSettingsDir;
    env.abletonDir = folder / L"Roaming\\Ableton";
    env.tempDir = folder / L"Temp";
    env.appWindowClass = kTestAppWindowClass;
    env.setupWindowClass = kTestSetupWindowClass;
    return env;
}

Env testEnv(const TestFolder& folder, const RegistryScope& registry)
{
    Env env = testEnv(folder);
    env.uninstallKey = registry.uninstallKey();
    return env;
}

} // namespace gls::test
