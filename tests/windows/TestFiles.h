#pragma once

#include <string>

// Small file helpers for the Windows tests.
void WriteTextFile(const std::string& path, const std::string& content);
bool PathExists(const std::string& path);
// The folder of the running test executable, with a trailing separator.
std::string ExecutableDir();
