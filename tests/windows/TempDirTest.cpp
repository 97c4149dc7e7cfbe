#include "platform/windows/WindowsTempDir.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <fstream>

// Owner and every entry: the user alone (wine adds the system account when it rebuilds the
// list from the folder's Unix mode). Removal takes read-only content along, and nothing else.
TEST(WindowsTempDir, PrivateDirIsTheUsersAloneAndGoesWithItsContent)
{
    alignas(TOKEN_USER) char record[256] = {};
    HANDLE token = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, record, sizeof record, &size));
    const PSID user = reinterpret_cast<TOKEN_USER*>(record)->User.Sid;
    WindowsTempDir tempDir;
    const auto dir = tempDir.createPrivateDir();
    ASSERT_TRUE(dir.has_value());
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoA(dir->c_str(), SE_FILE_OBJECT,
                                    OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl,
                                    nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(owner && EqualSid(owner, user));
    ASSERT_NE(dacl, nullptr) << "no list at all lets everyone in";
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        EXPECT_TRUE(ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE
                    && (EqualSid(&ace->SidStart, user) || IsWellKnownSid(&ace->SidStart, WinLocalSystemSid)))
            << "entry " << i << " lets another in";
    }

    ASSERT_TRUE(CreateDirectoryA((*dir + "sub dir").c_str(), nullptr));
    std::ofstream(*dir + "sub dir\\TKProfile.txt") << "<x/>";
    SetFileAttributesA((*dir + "sub dir\\TKProfile.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string foreign = *tempDir.systemTempDir() + "hoptrace-foreign-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(foreign.c_str(), nullptr));
    tempDir.removePrivateDir(foreign + "\\");
    tempDir.removePrivateDir(*dir);
    EXPECT_TRUE(RemoveDirectoryA(foreign.c_str())) << "a folder this object did not make is left alone";
    EXPECT_EQ(GetFileAttributesA(dir->c_str()), INVALID_FILE_ATTRIBUTES);
}
