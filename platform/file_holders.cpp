// Asks the Restart Manager which programs hold files open. rstrtmgr.dll is loaded from the system
// folder when first needed, never imported: a setup that nothing holds never loads it.
#include "file_holders.h"

#include "core/in_use_message.h"
#include "log.h"
#include "system_library.h"
#include "unique_handle.h"

#include <windows.h>

#include <restartmanager.h>

#include <algorithm>

namespace gls {

namespace {

using StartSessionFn = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using EndSessionFn = DWORD(WINAPI*)(DWORD);
using RegisterResourcesFn = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
using GetListFn = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, LPDWORD);

const wchar_t kRestartManager[] = L"rstrtmgr.dll";

// More holders than this and nobody is named: each entry is about 700 bytes.
constexpr UINT kMostListedProcesses = 256;

// The processes the session's files are held by; false when the system gives no list. The list
// may grow between the call that counts and the one that fills, so it is asked a few times.
bool listHolders(GetListFn getList, DWORD session, std::vector<RM_PROCESS_INFO>& found)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        UINT needed = 0;
        UINT count = static_cast<UINT>(found.size());
        DWORD reasons = 0;
        DWORD result = getList(session, &needed, &count, found.empty() ? nullptr : found.data(), &reasons);
        if (result == ERROR_SUCCESS) {
            found.resize(std::min<std::size_t>(count, found.size()));
            return true;
        }
        if (result != ERROR_MORE_DATA || needed > kMostListedProcesses) return false;
        found.resize(needed);
    }
    return false;
}

} // namespace

void handle_traits::RestartSession::close(DWORD session)
{
    if (auto end = systemFunction<EndSessionFn>(kRestartManager, "RmEndSession")) end(session);
}

std::vector<std::wstring> programsHolding(const std::vector<std::wstring>& paths)
{
    auto startSession = systemFunction<StartSessionFn>(kRestartManager, "RmStartSession");
    auto registerResources = systemFunction<RegisterResourcesFn>(kRestartManager, "RmRegisterResources");
    auto getList = systemFunction<GetListFn>(kRestartManager, "RmGetList");
    if (paths.empty() || !startSession || !registerResources || !getList) return {};

    // A session of its own per question, ended on every way out.
    DWORD handle = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (startSession(&handle, 0, key) != ERROR_SUCCESS) return {};
    UniqueRestartSession session(handle);
    std::vector<LPCWSTR> files;
    for (const std::wstring& path : paths) files.push_back(path.c_str());
    if (registerResources(session.get(), static_cast<UINT>(files.size()), files.data(), 0, nullptr, 0, nullptr) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::vector<RM_PROCESS_INFO> found;
    if (!listHolders(getList, session.get(), found)) return {};

    std::vector<std::wstring> listed;
    for (const RM_PROCESS_INFO& process : found) {
        if (process.Process.dwProcessId == ::GetCurrentProcessId()) continue;
        listed.emplace_back(process.strAppName, ::wcsnlen(process.strAppName, CCH_RM_MAX_APP_NAME + 1));
    }
    std::vector<std::wstring> names = holderNames(listed);
    if (!names.empty()) {
        std::wstring joined;
        for (const std::wstring& name : names) joined += (joined.empty() ? L"" : L", ") + name;
        logLine(L"held by: %ls", joined.c_str());
    }
    return names;
}

} // namespace gls
