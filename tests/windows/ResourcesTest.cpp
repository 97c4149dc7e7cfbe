#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

std::vector<char> OwnVersionRecord()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> record(GetFileVersionInfoSizeA(path, &ignored));
    if (record.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(record.size()), record.data()))
        record.clear();
    return record;
}

} // namespace

// The version record says major.minor.patch as "2.00.0006": minor two digits, patch four.
TEST(WindowsResources, FileVersionIsWrittenWithPaddedMinorAndPatch)
{
    const std::vector<char> record = OwnVersionRecord();
    ASSERT_FALSE(record.empty());

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
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), HOPTRACE_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), HOPTRACE_VERSION_MINOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), HOPTRACE_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(WindowsResources, IconHasThe32And16PixelImages)
{
    for (const int size : {32, 16}) {
        const HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0);
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(static_cast<HICON>(icon));
    }
}
