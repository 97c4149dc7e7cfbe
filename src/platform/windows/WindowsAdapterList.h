#pragma once

#include "platform/AdapterList.h"

// The adapters as IP Helper's GetAdaptersInfo lists them.
class WindowsAdapterList final : public AdapterList {
public:
    std::optional<std::vector<AdapterInfo>> adapters() override;
};
