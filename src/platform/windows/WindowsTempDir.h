#pragma once

#include "platform/TempDir.h"

#include <set>

// GetTempPathA, and private folders inside it that only the current user may open.
class WindowsTempDir final : public TempDir {
public:
    std::optional<std::string> systemTempDir() override;
    std::optional<std::string> createPrivateDir() override;
    void removePrivateDir(const std::string& path) override;

private:
    std::set<std::string> created_; // only these are ever removed
    unsigned serial_ = 0;
};
