#pragma once

#include "devices/DeviceListing.h"

#include <QDateTime>
#include <QString>

#include <string>

// `hoptrace-cli log`: the commissioning log at `path` printed in `format` (Text, Json or Csv),
// the entries sent since `since` (invalid: all) to `mac` (empty: any). Damaged lines are
// skipped and counted on standard error; the file is only read. Its exit code.
int PrintCommissioningLog(const QString& path, ListingFormat format, const QDateTime& since, const std::string& mac);
