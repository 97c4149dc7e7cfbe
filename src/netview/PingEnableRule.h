#pragma once

#include <string_view>

// Whether cmdPing may be used for the text in txtIPtoPing: exactly four parts between
// dots, each with a leading number from 0 to 255. Deliberately lenient ("192.168.1."
// and "192.168.1.1a" pass); the click checks the address strictly before pinging.
bool PingButtonEnabledFor(std::string_view text);
