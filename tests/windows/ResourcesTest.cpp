#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <vector>

// The version record says major.minor.patch as "2.00.0006": minor two digits, patch four.
TEST(WindowsResources, VersionRecordHasThePaddedVersion)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> record(GetFileVersionInfoSizeA(path, &ignored));
    ASSERT_FALSE(record.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(record.size()), record.data()));
    char expected[32];
    std::snprintf(expected, sizeof expected, "%d.%02d.%04d", HOPTRACE_VERSION_MAJOR, HOPTRACE_VERSION_MINOR,
                  HOPTRACE_VERSION_PATCH);
    for (const char* key : {"\\StringFileInfo\\040904B0\\FileVersion", "\\StringFileInfo\\040904B0\\ProductVersion"}) {
        char* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(record.data(), key, reinterpret_cast<void**>(&text), &length)) << key;
        EXPECT_STREQ(text, expected) << key;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(HOPTRACE_VERSION_MINOR, HOPTRACE_VERSION_MAJOR)));
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), HOPTRACE_VERSION_PATCH);
}

// Icon 1 (the one Explorer shows) loads, and its directory holds a 32- and a 16-pixel image:
// loading alone proves no size, the system scales whatever image comes closest.
TEST(WindowsResources, IconHasThe32And16PixelImages)
{
    const HMODULE self = GetModuleHandleA(nullptr);
    EXPECT_NE(LoadIconA(self, MAKEINTRESOURCEA(1)), nullptr);
    const HRSRC group = FindResourceA(self, MAKEINTRESOURCEA(1), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    // Three 16-bit fields (reserved, type, count), then 14-byte entries that begin with the width.
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    ASSERT_NE(directory, nullptr);
    std::set<int> widths;
    for (int i = 0; i < (directory[4] | directory[5] << 8); ++i)
        widths.insert(directory[6 + 14 * i]);
    EXPECT_EQ(widths, (std::set<int>{16, 32}));
}
