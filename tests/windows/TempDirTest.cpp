#include "TestFiles.h"
#include "platform/windows/WindowsTempDir.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <memory>

namespace {

// The current user's SID, copied out of the process token.
std::unique_ptr<char[]> CurrentUserSid()
{
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    auto buffer = std::make_unique<char[]>(size);
    GetTokenInformation(token, TokenUser, buffer.get(), size, &size);
    CloseHandle(token);
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid;
    auto copy = std::make_unique<char[]>(GetLengthSid(sid));
    CopySid(GetLengthSid(sid), copy.get(), sid);
    return copy;
}

} // namespace

TEST(WindowsTempDir, SystemTempDirIsThePlatformsWithItsSeparator)
{
    WindowsTempDir tempDir;
    const auto dir = tempDir.systemTempDir();
    ASSERT_TRUE(dir.has_value());
    ASSERT_FALSE(dir->empty());
    EXPECT_EQ(dir->back(), '\\');
    char expected[MAX_PATH + 1] = {};
    EXPECT_EQ(*dir, std::string(expected, GetTempPathA(MAX_PATH + 1, expected)));
    EXPECT_TRUE(PathExists(*dir + "."));

    const std::string file = *dir + "TK.bat";
    WriteTextFile(file, "exit /b 0\r\n");
    EXPECT_TRUE(PathExists(file)) << "appending a file name gives a usable path";
    DeleteFileA(file.c_str());
}

TEST(WindowsTempDir, PrivateDirIsOwnedByAndOpenToTheUserAlone)
{
    WindowsTempDir tempDir;
    const auto dir = tempDir.createPrivateDir();
    ASSERT_TRUE(dir.has_value());
    EXPECT_EQ(dir->back(), '\\');
    EXPECT_EQ(dir->rfind(*tempDir.systemTempDir(), 0), 0u) << *dir;
    const auto second = tempDir.createPrivateDir();
    ASSERT_TRUE(second.has_value());
    EXPECT_NE(*second, *dir) << "every call makes a new folder";

    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoA(dir->c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                    &owner, nullptr, &dacl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    const auto user = CurrentUserSid();
    ASSERT_NE(owner, nullptr);
    EXPECT_TRUE(EqualSid(owner, user.get()));
    ASSERT_NE(dacl, nullptr);
    // Wine rebuilds the list from the folder's Unix mode: it adds the system account
    // and drops the "protected" mark. Windows keeps the one entry as written.
    bool userHasFullAccess = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, &ace));
        const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        ASSERT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        const PSID sid = const_cast<DWORD*>(&allowed->SidStart);
        const bool isUser = EqualSid(sid, user.get());
        EXPECT_TRUE(isUser || IsWellKnownSid(sid, WinLocalSystemSid)) << "entry " << i << " lets someone else in";
        if (isUser && (allowed->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS &&
            (allowed->Header.AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) ==
                (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE))
            userHasFullAccess = true;
    }
    EXPECT_TRUE(userHasFullAccess) << "the user's entry, inherited by what is made inside";
    LocalFree(descriptor);
    tempDir.removePrivateDir(*dir);
    tempDir.removePrivateDir(*second);
    EXPECT_FALSE(PathExists(*dir));
}

TEST(WindowsTempDir, RemovePrivateDirRemovesItsWholeContentAndNothingElse)
{
    WindowsTempDir tempDir;
    const auto dir = tempDir.createPrivateDir();
    ASSERT_TRUE(dir.has_value());
    WriteTextFile(*dir + "TK.bat", "exit /b 0\r\n");
    ASSERT_TRUE(CreateDirectoryA((*dir + "sub dir").c_str(), nullptr));
    WriteTextFile(*dir + "sub dir\\TKProfile.txt", "<x/>\r\n");
    SetFileAttributesA((*dir + "sub dir\\TKProfile.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    // A folder this object did not make is left alone, whatever the caller passes.
    const std::string foreign = *tempDir.systemTempDir() + "hoptrace-foreign-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(foreign.c_str(), nullptr));
    tempDir.removePrivateDir(foreign + "\\");
    tempDir.removePrivateDir("");
    EXPECT_TRUE(PathExists(foreign));
    RemoveDirectoryA(foreign.c_str());

    tempDir.removePrivateDir(*dir);
    EXPECT_FALSE(PathExists(*dir));
    tempDir.removePrivateDir(*dir); // twice is harmless
}
