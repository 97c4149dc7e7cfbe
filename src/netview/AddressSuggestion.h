#pragma once

#include <string>
#include <string_view>

// The address proposed for a new device on an adapter's network: the adapter's
// address up to and including its third "." followed by "125". The third dot is
// found by three successive searches, each starting behind the previous hit, so a
// text with fewer dots yields the shortened forms users have always seen
// ("10.1" gives "10.125", "10.0.1" gives "125"). The mask is not consulted.
std::string SuggestedDeviceAddress(std::string_view adapterAddress);
