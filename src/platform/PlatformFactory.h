#pragma once

#include "Services.h"

#include <memory>

// Owns the real implementations for the running operating system.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;
    virtual Services& services() = 0;
};

// The one place that chooses the implementations.
std::unique_ptr<PlatformServices> CreatePlatformServices();
