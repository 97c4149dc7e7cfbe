#pragma once

// The reference: a blocking receive loop on the same port and buffer that only counts
// what it gets, until nothing has come for a second. Prints "ready", then one result line.
namespace PlainReceiveLoop {
int Run(int receiveBufferBytes);
}
