#include "WindowsTempDir.h"

#include <windows.h>
#include <sddl.h>

#include <cstdio>

namespace {

constexpr int kAttempts = 100;

// The current user's SID as text (S-1-5-21-...), for the folder's access list.
std::optional<std::string> CurrentUserSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::nullopt;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::optional<std::string> result;
    if (size > 0) {
        std::string buffer(size, '\0');
        char* sidText = nullptr;
        if (GetTokenInformation(token, TokenUser, buffer.data(), size, &size)
            && ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sidText)) {
            result = sidText;
            LocalFree(sidText);
        }
    }
    CloseHandle(token);
    return result;
}

// Owner: the user. Access list: full access for the user alone, inherited by the files
// and folders made inside, and protected from the parent's entries.
std::string PrivateDescriptor(const std::string& sid) { return "O:" + sid + "D:P(A;OICI;FA;;;" + sid + ")"; }

void RemoveTree(const std::string& directory)
{
    WIN32_FIND_DATAA entry{};
    const HANDLE find = FindFirstFileA((directory + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = directory + name;
            const bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink) {
                RemoveTree(path + "\\");
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveDirectoryA(path.c_str()); // a junction: removed, its target left alone
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(directory.c_str());
}

} // namespace

std::optional<std::string> WindowsTempDir::systemTempDir()
{
    // Asked for its size first: a path beyond 255 characters is as valid as any other.
    DWORD needed = GetTempPathA(0, nullptr);
    for (int attempt = 0; attempt < 3 && needed > 0; ++attempt) {
        std::string buffer(needed, '\0');
        const DWORD written = GetTempPathA(needed, buffer.data());
        if (written == 0)
            return std::nullopt;
        if (written < needed) {
            buffer.resize(written);
            if (buffer.back() != '\\' && buffer.back() != '/')
                buffer += '\\';
            return buffer;
        }
        needed = written; // grew between the two calls
    }
    return std::nullopt;
}

std::optional<std::string> WindowsTempDir::createPrivateDir()
{
    const auto base = systemTempDir();
    const auto sid = CurrentUserSid();
    if (!base || !sid)
        return std::nullopt;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(PrivateDescriptor(*sid).c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return std::nullopt;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};

    std::optional<std::string> result;
    for (int attempt = 0; attempt < kAttempts && !result; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "Hoptrace-%lx-%llx-%x", GetCurrentProcessId(),
                      static_cast<unsigned long long>(GetTickCount64()), serial_++);
        const std::string path = *base + name;
        // Never an existing folder: one planted beforehand would not be private.
        if (CreateDirectoryA(path.c_str(), &attributes))
            result = path + "\\";
        else if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    LocalFree(descriptor);
    if (result)
        created_.insert(*result);
    return result;
}

void WindowsTempDir::removePrivateDir(const std::string& path)
{
    if (created_.erase(path) == 0)
        return;
    RemoveTree(path);
}
