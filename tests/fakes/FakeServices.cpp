#include "FakeServices.h"

FakeServices::FakeServices(double startSecondsSinceMidnight) : time(startSecondsSinceMidnight), timer1(time.makeTimer())
{
    echo.time = &time;
}

Services& FakeServices::services()
{
    if (!services_) {
        services_ = std::make_unique<Services>(Services{
            time, time, *timer1, socket, adapters, echo, neighbours,
            wlanOverride ? *wlanOverride : static_cast<Wlan&>(wlan),
            commandsOverride ? *commandsOverride : static_cast<CommandRunner&>(commands),
            tempDirOverride ? *tempDirOverride : static_cast<TempDir&>(tempDir), urls, messages, provisioning});
    }
    return *services_;
}
