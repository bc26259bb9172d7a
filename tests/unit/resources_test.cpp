// What the built GlimmerlineSetup.exe carries: manifest, icon group, license, version block, payload.
#include "core/payload_archive.h"
#include "core/payload_checksum.h"
#include "core/resource_ids.h"
#include "core/version.h"
#include "platform/unique_handle.h"
#include "product_names.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using gls::UniqueModule;

namespace {

class BuiltSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_.reset(::LoadLibraryExW(gls::test::setupExePath().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module_) << "cannot open " << gls::test::narrow(gls::test::setupExePath());
    }

    std::string resource(const wchar_t* name, const wchar_t* type) const
    {
        HRSRC found = ::FindResourceW(module_.get(), name, type);
        if (!found) return {};
        HGLOBAL loaded = ::LoadResource(module_.get(), found);
        const char* data = static_cast<const char*>(::LockResource(loaded));
        return data ? std::string(data, ::SizeofResource(module_.get(), found)) : std::string();
    }

    UniqueModule module_;
};

std::uint64_t u64At(const std::string& b, size_t at)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param)
{
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}

} // namespace

TEST_F(BuiltSetup, ManifestRunsAsInvokerPerMonitorAware)
{
    std::string manifest = resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
}

TEST_F(BuiltSetup, IconGroupHoldsNineSizesAsPng)
{
    std::string group = resource(MAKEINTRESOURCEW(gls::kIconId), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    unsigned count = static_cast<unsigned char>(group[4]) | (static_cast<unsigned char>(group[5]) << 8);
    ASSERT_EQ(count, 9u);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    const int expected[] = {16, 20, 24, 32, 40, 48, 64, 128, 256};
    for (unsigned i = 0; i < count; ++i) {
        const char* e = group.data() + 6 + 14 * i;
        int width = static_cast<unsigned char>(e[0]);
        EXPECT_EQ(width == 0 ? 256 : width, expected[i]);
        EXPECT_EQ(static_cast<unsigned char>(e[6]) | (static_cast<unsigned char>(e[7]) << 8), 32); // bits
        WORD id = static_cast<unsigned char>(e[12]) | (static_cast<unsigned char>(e[13]) << 8);
        std::string image = resource(MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3)); // RT_ICON
        EXPECT_EQ(image.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8)) << "icon " << expected[i];
    }
}

TEST_F(BuiltSetup, VersionBlockNamesTheProduct)
{
    std::wstring path = gls::test::setupExePath();
    DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    auto text = [&](const wchar_t* key) {
        wchar_t* value = nullptr;
        UINT length = 0;
        std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        if (!::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) return std::wstring();
        return std::wstring(value);
    };
    EXPECT_EQ(text(L"ProductName"), L"Glimmerline");
    EXPECT_EQ(text(L"FileDescription"), L"Glimmerline Setup");
    EXPECT_EQ(text(L"CompanyName"), L"Edda Rowan"); // the publisher the installed-apps entry names
    EXPECT_EQ(text(L"ProductVersion"), gls::kSetupVersion);
    EXPECT_EQ(text(L"FileVersion"), gls::kSetupVersion);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const unsigned* n = gls::kSetupVersionNumbers;
    EXPECT_EQ(fixed->dwFileVersionMS, (n[0] << 16) | n[1]);
    EXPECT_EQ(fixed->dwFileVersionLS, (n[2] << 16) | n[3]);
}

TEST_F(BuiltSetup, PayloadIsLanguageNeutralVerifiesAndHoldsTheTenFiles)
{
    std::vector<WORD> languages;
    ::EnumResourceLanguagesW(module_.get(), MAKEINTRESOURCEW(gls::kDataResourceType), gls::kPayloadResourceName,
                             collectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    ASSERT_EQ(languages.size(), 1u);
    EXPECT_EQ(languages[0], MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));

    std::string archive = resource(gls::kPayloadResourceName, MAKEINTRESOURCEW(gls::kDataResourceType));
    ASSERT_GE(archive.size(), 24u);
    EXPECT_EQ(archive.substr(0, 4), "GLP1");
    EXPECT_EQ(u64At(archive, 16),
              gls::payloadChecksum(reinterpret_cast<const unsigned char*>(archive.data()) + 24, archive.size() - 24));

    // The reader's own checks: index, data size and every file inside the data area.
    gls::Checked<gls::Payload, std::string> parsed =
        gls::parsePayload(reinterpret_cast<const unsigned char*>(archive.data()), archive.size(), true);
    ASSERT_TRUE(parsed.ok()) << parsed.problem;
    const std::vector<gls::PayloadEntry>& index = parsed.value.entries;

    const std::string names[] = {gls::test::kAppPayloadName,
                                 "Glimmerline.vst3/Contents/x86_64-win/Glimmerline.vst3",
                                 "License.txt",
                                 "README.txt",
                                 "live/Glimmerline/__init__.py",
                                 "live/Glimmerline/feed.py",
                                 "live/Glimmerline/shell.py",
                                 "m4l/Glimmerline Feed.amxd",
                                 "m4l/glimmerline_feed.js",
                                 "so_hook.dll"};
    ASSERT_EQ(index.size(), 10u);
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(index[i].name, names[i]);

    // The payload's license is the setup's own agreement.
    std::string license = resource(MAKEINTRESOURCEW(gls::kLicenseId), MAKEINTRESOURCEW(gls::kDataResourceType));
    ASSERT_FALSE(license.empty());
    EXPECT_NE(license.find("GLIMMERLINE LICENSE AGREEMENT"), std::string::npos);
    auto bytesOf = [](const gls::PayloadEntry& e) {
        return std::string(reinterpret_cast<const char*>(e.data), static_cast<size_t>(e.size));
    };
    EXPECT_EQ(bytesOf(index[2]), license);
    // The app in it is a real program.
    EXPECT_EQ(bytesOf(index[0]).substr(0, 2), "MZ");
}
