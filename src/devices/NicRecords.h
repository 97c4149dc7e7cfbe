#pragma once

#include "platform/AdapterList.h"

#include <string>
#include <string_view>

struct NicRecord;

// The text of a fixed-size field of the adapter record: its first `width` bytes,
// with every byte below 32 dropped wherever it stands.
std::string FieldWindow(std::string_view raw, std::size_t width);
// An adapter qualifies unless its address text begins with "0" (no address: 0.0.0.0).
bool AdapterQualifies(const AdapterInfo& adapter);
NicRecord ToNicRecord(const AdapterInfo& adapter);
