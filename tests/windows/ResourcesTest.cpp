#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <vector>

// The version record says major.minor.patch as "2.00.0006" (minor two digits, patch four),
// and the icon Explorer shows is built in beside it.
TEST(WindowsResources, VersionRecordHasThePaddedVersionAndTheIcon)
{
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)), nullptr);
    char path[MAX_PATH] = {}, expected[32];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> record(GetFileVersionInfoSizeA(path, &ignored) + 1);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(record.size()), record.data()));
    std::snprintf(expected, sizeof expected, "%d.%02d.%04d", HOPTRACE_VERSION_MAJOR, HOPTRACE_VERSION_MINOR,
                  HOPTRACE_VERSION_PATCH);
    for (const char* key : {"\\StringFileInfo\\040904B0\\FileVersion", "\\StringFileInfo\\040904B0\\ProductVersion"}) {
        char* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(record.data(), key, reinterpret_cast<void**>(&text), &length)) << key;
        EXPECT_STREQ(text, expected) << key;
    }
}
