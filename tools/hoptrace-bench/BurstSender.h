#pragma once

#include <string>

// The device side of a benchmark case: sends the replies of many webservers to the
// program's address as fast as the socket takes them, then prints "sent <monotonic ns>".
namespace BurstSender {
// kind "burst": count distinct devices. kind "flood": 10,000 distinct devices (the list
// they make is about 2.7 MB), then count copies of one reply, then 5,000 more devices.
int Run(const std::string& kind, int count, const std::string& target);
// The reply of device number index, about 250 bytes like a real webserver's.
std::string Reply(int index);
} // namespace BurstSender
