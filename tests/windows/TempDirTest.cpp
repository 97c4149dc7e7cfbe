#include "platform/windows/WindowsTempDir.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <fstream>

namespace {

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

} // namespace

TEST(WindowsTempDir, SystemTempDirIsThePlatformsWithItsSeparator)
{
    char platform[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, platform);
    const auto dir = WindowsTempDir().systemTempDir();
    ASSERT_TRUE(dir.has_value());
    EXPECT_EQ(*dir, std::string(platform, length));
    EXPECT_EQ(dir->back(), '\\');
}

// Owner and entries: the user alone (wine adds the system account when it rebuilds the list
// from the folder's Unix mode), with full access inherited by what is made inside.
TEST(WindowsTempDir, PrivateDirIsOpenToTheUserAlone)
{
    alignas(TOKEN_USER) char record[256] = {};
    HANDLE token = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, record, sizeof record, &size));
    CloseHandle(token);
    const PSID user = reinterpret_cast<TOKEN_USER*>(record)->User.Sid;

    WindowsTempDir tempDir;
    const auto dir = tempDir.createPrivateDir();
    ASSERT_TRUE(dir.has_value());
    EXPECT_EQ(dir->rfind(*tempDir.systemTempDir(), 0), 0u) << *dir;
    EXPECT_EQ(dir->back(), '\\');
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    constexpr SECURITY_INFORMATION kWanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    const DWORD read = GetNamedSecurityInfoA(dir->c_str(), SE_FILE_OBJECT, kWanted, &owner, nullptr, &dacl, nullptr,
                                             &descriptor);
    ASSERT_EQ(read, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(owner && EqualSid(owner, user));
    ASSERT_NE(dacl, nullptr);
    bool userHasFullAccess = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        ASSERT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        const bool isUser = EqualSid(&ace->SidStart, user);
        EXPECT_TRUE(isUser || IsWellKnownSid(&ace->SidStart, WinLocalSystemSid)) << "entry " << i << " lets another in";
        constexpr BYTE kInherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        userHasFullAccess |= isUser && (ace->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS
            && (ace->Header.AceFlags & kInherited) == kInherited;
    }
    EXPECT_TRUE(userHasFullAccess);
    LocalFree(descriptor);
    tempDir.removePrivateDir(*dir);
}

TEST(WindowsTempDir, RemovesWhatItMadeWithItsContentAndNothingElse)
{
    WindowsTempDir tempDir;
    const auto dir = tempDir.createPrivateDir();
    ASSERT_TRUE(dir.has_value());
    ASSERT_TRUE(CreateDirectoryA((*dir + "sub dir").c_str(), nullptr));
    const std::string file = *dir + "sub dir\\TKProfile.txt";
    std::ofstream(file) << "<x/>";
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);

    const std::string foreign = *tempDir.systemTempDir() + "hoptrace-foreign-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(foreign.c_str(), nullptr));
    tempDir.removePrivateDir(foreign + "\\");
    EXPECT_TRUE(PathExists(foreign)) << "a folder this object did not make is left alone";
    RemoveDirectoryA(foreign.c_str());

    tempDir.removePrivateDir(*dir);
    EXPECT_FALSE(PathExists(*dir));
}
