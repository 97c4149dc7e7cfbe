// Replies of any bytes into the real window on fake services, then a click at any caret
// position of the list: selection reads the blocks back by position.
// Input: two bytes of caret position, then datagrams separated by the byte 0xFF.
#include "FuzzApplication.h"

#include "fakes/WindowRig.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureFuzzApplication();
    if (size < 2)
        return 0;
    const std::size_t caret = data[0] | (data[1] << 8);
    const std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);

    WindowRig rig;
    rig.load();
    std::size_t from = 0;
    while (from <= rest.size()) {
        const std::size_t end = rest.find('\xFF', from);
        rig.fakes.socket.deliver(rest.substr(from, end == std::string::npos ? end : end - from), 0.5);
        if (end == std::string::npos)
            break;
        from = end + 1;
    }
    rig.finishSearch();
    rig.clickServerListAt(caret % (rig.serverText().size() + 1));
    return 0;
}
