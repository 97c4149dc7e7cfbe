#include "StatusLine.h"

#include "controls/StatusShare.h"

StatusLine::Shown StatusLine::Of(std::initializer_list<const StatusShare*> shares)
{
    const StatusShare* latestRunning = nullptr;
    const StatusShare* lastWord = nullptr;
    for (const StatusShare* share : shares) {
        if (!share->text())
            continue;
        if (share->running()) {
            if (!latestRunning || share->startedAt() > latestRunning->startedAt())
                latestRunning = share;
        } else if (share->spokeAt() > 0 && (!lastWord || share->spokeAt() > lastWord->spokeAt())) {
            lastWord = share;
        }
    }
    const StatusShare* shown = latestRunning ? latestRunning : lastWord;
    if (!shown)
        return {};
    return {*shown->text(), shown->colour()};
}
