#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The version record says major.minor.patch as "2.00.0006" (minor two digits, patch four),
// names the file it belongs to, and the icon Explorer shows (the lowest id) is built in beside it.
void ExpectIconAndVersionRecord(const std::string& path)
{
    SCOPED_TRACE(path);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)), nullptr); // RT_GROUP_ICON
    FreeLibrary(module);

    DWORD ignored = 0;
    std::vector<char> record(GetFileVersionInfoSizeA(path.c_str(), &ignored) + 1);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(record.size()), record.data()));
    char version[32];
    std::snprintf(version, sizeof version, "%d.%02d.%04d", HOPTRACE_VERSION_MAJOR, HOPTRACE_VERSION_MINOR,
                  HOPTRACE_VERSION_PATCH);
    const std::string fileName = path.substr(path.find_last_of("\\/") + 1);
    const struct {
        const char* key;
        std::string expected;
    } rows[] = {{"FileVersion", version}, {"ProductVersion", version}, {"OriginalFilename", fileName}};
    for (const auto& row : rows) {
        char* text = nullptr;
        UINT length = 0;
        const std::string key = std::string("\\StringFileInfo\\040904B0\\") + row.key;
        ASSERT_TRUE(VerQueryValueA(record.data(), key.c_str(), reinterpret_cast<void**>(&text), &length)) << key;
        EXPECT_EQ(std::string(text), row.expected) << key;
    }
}

std::string OwnPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

} // namespace

TEST(WindowsResources, VersionRecordHasThePaddedVersionAndTheIcon) { ExpectIconAndVersionRecord(OwnPath()); }

// The executables that ship, hoptrace.exe and hoptrace-cli.exe as installed: the Windows
// program group names them in HOPTRACE_SHIPPED_EXECUTABLES (paths separated by ';').
TEST(WindowsResources, ShippedExecutablesCarryTheIconAndVersionRecord)
{
    const char* shipped = std::getenv("HOPTRACE_SHIPPED_EXECUTABLES");
    if (shipped == nullptr)
        GTEST_SKIP() << "HOPTRACE_SHIPPED_EXECUTABLES is unset: the Windows program group checks them";
    std::istringstream paths(shipped);
    int checked = 0;
    for (std::string path; std::getline(paths, path, ';'); ++checked)
        ExpectIconAndVersionRecord(path);
    EXPECT_GT(checked, 0);
}
