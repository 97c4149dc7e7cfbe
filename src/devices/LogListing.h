#pragma once

#include "CommissioningRecord.h"
#include "DeviceListing.h"

#include <string>
#include <vector>

// The commissioning log as `hoptrace-cli log` prints it: Text, aligned columns with a summary of
// the values before and sent; Json, one array of LogEntryObject; Csv, CsvFile and Tsv, every
// value in a column of its own (before_address, sent_address, ...), through the list's writers.
std::string FormatLog(const std::vector<LogEntry>& entries, ListingFormat format);
