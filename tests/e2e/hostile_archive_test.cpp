// Setups whose archives carry names that try to leave the install folder or reach a device, or that
// Windows would take for the setup's own names or for each other: each is refused before anything
// is written, with exit code 6 and the reason in the log.
#include "e2e_fixture.h"
#include "fault_seed.h"
#include "install_fixture.h"
#include "product_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace gls::test;

namespace {

using HostileArchive = SetupRun;

struct Hostile {
    std::string name;
    std::string why;
    std::string logged = "] payload: a path in the payload is not"; // what the log line holds
    std::string beside = "";                                        // one more name in the archive
};

const Hostile kHostile[] = {
    {"/etc/passwd", "absolute"},
    {"C:/Windows/win.ini", "drive"},
    {"../outside.txt", "parent"},
    {"live/../../outside.txt", "parent inside"},
    {"..\\outside.txt", "backslash parent"},
    {"\\\\server\\share\\x", "network"},
    {"nul.txt", "device"},
    {"CON", "device"},
    {"live/Aux.py", "device in a folder"},
    {"COM1.log", "device"},
    {"lpt9", "device"},
    {"con .txt", "device with a blank"},
    {"COM\xC2\xB9", "device with a superscript digit"},
    {"CONOUT$", "console"},
    {std::string(401, 'n'), "over 400 bytes"},
    {"a/" + std::string(399, 'n'), "over 400 bytes in a folder"},
    {"bad\xFF.txt", "invalid UTF-8"},
    // The reason names the path in UTF-8, the broken byte as U+FFFD and the letter as itself.
    {"Zo\xC3\xAB/bad\xFF.txt", "invalid UTF-8 after a letter",
     "] payload: a path in the payload is not valid UTF-8: Zo\xC3\xAB/bad\xEF\xBF\xBD.txt"},
    {"\xC0\xAE\xC0\xAE/outside.txt", "overlong dots"},
    // Names the setup writes or deletes itself, too long for the longest folder, or taken by
    // Windows for another name of the archive (the fixed Glimmerline.exe), letter case ignored.
    {"uninstall.EXE", "the uninstaller"},
    {".glsetup-new/Glimmerline.exe", "the staging folder"},
    {"live/" + std::string(50, 'n'), "too long for the longest folder"},
    {"GLIMMERLINE.exe", "case twin", "] payload: two paths in the payload collide: "},
    {"Glimmerline.exe/x", "a file where a folder must be", "] payload: two paths in the payload collide: "},
    {"\xC3\x89.txt", "case twins beyond ASCII", "] payload: two paths in the payload collide: ", "\xC3\xA9.txt"},
};

// A random name with at least one hostile part among ordinary ones, some of them non-ASCII.
std::string randomHostileName(std::mt19937_64& rng)
{
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    const char* ordinary[] = {"live", "Glimmerline", "m4l", "a b", "r\xC3\xA9sum\xC3\xA9.py", "\xE6\x97\xA5\xE6\x9C\xAC", "x.txt"};
    const char* devices[] = {"CON", "PRN", "AUX", "NUL", "COM1", "COM9", "LPT1", "LPT0", "COM\xC2\xB2", "CONIN$"};
    const char* invalid[] = {"\x80", "\xC0\xAF", "\xED\xA0\x80", "\xFF", "\xF4\x90\x80\x80", "\xE2\x82"};
    auto hostilePart = [&]() -> std::string {
        switch (pick(6)) {
        case 0: return "..";
        case 1: {
            std::string device = devices[pick(std::size(devices))];
            for (char& c : device) {
                if (c >= 'A' && c <= 'Z' && pick(2)) c = static_cast<char>(c - 'A' + 'a');
            }
            return device + std::string(pick(3), ' ') + (pick(2) ? ".txt" : "");
        }
        case 2: return std::string("x") + "<>:\"\\|?*\t"[pick(9)] + "y";
        case 3: return pick(2) ? "ends." : "ends ";
        case 4: return std::string("bad") + invalid[pick(std::size(invalid))] + ".txt";
        default: return ".";
        }
    };
    std::vector<std::string> parts;
    size_t count = 1 + pick(4);
    size_t hostileAt = pick(count);
    for (size_t i = 0; i < count; ++i) parts.push_back(i == hostileAt ? hostilePart() : ordinary[pick(std::size(ordinary))]);
    std::string name;
    for (size_t i = 0; i < parts.size(); ++i) name += (i ? "/" : "") + parts[i];
    switch (pick(5)) {
    case 0: return "/" + name;
    case 1: return name + "/";
    case 2: return name + "/" + std::string(401, 'n');
    default: return name;
    }
}

} // namespace

TEST_F(HostileArchive, EveryEscapingOrDeviceNameIsRefusedBeforeAnythingIsWritten)
{
    std::vector<Hostile> names(std::begin(kHostile), std::end(kHostile));
    std::mt19937_64 rng(faultSeed());
    for (int i = 0, extra = stressRun() ? 200 : 6; i < extra; ++i) names.push_back({randomHostileName(rng), "random"});

    for (const Hostile& h : names) {
        SCOPED_TRACE(h.why + ": " + h.name.substr(0, 40));
        std::wstring setupFile = folder / L"Hostile.exe";
        std::vector<std::pair<std::string, std::string>> files = {{kAppPayloadName, "MZ"}, {h.name, "x"}};
        if (!h.beside.empty()) files.push_back({h.beside, "y"});
        ASSERT_TRUE(writeSetupWithPayload(setupFile, archiveOf(files)));
        TestFolder root;
        std::filesystem::create_directories(root / L"LocalAppData");

        auto run = runSetup(setupFile, root.path(), L"/S");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 6u);
        bool logged = false;
        for (const std::string& line : logLines(root.path())) {
            logged = logged || line.find(h.logged) != std::string::npos;
        }
        EXPECT_TRUE(logged);
        // Nothing but the log: no install folder, no shortcut, no entry.
        auto tree = snapshotTree(root.path());
        std::vector<std::wstring> written;
        for (const auto& [path, bytes] : tree) {
            if (path != L"LocalAppData" && path != L"Temp" && path != kTestLog) written.push_back(path);
        }
        EXPECT_TRUE(written.empty()) << narrow(written.empty() ? L"" : written.front());
        EXPECT_FALSE(appEntryExists());
    }
}
