// The run's report (/report:FILE): what became of each entry, as one JSON document that programs
// read, in UTF-8. docs/run-report.md describes it, and docs/run-report.schema.json is its JSON
// Schema. Nothing in it is ever a secret: an entry record carries none, and a field that would
// carry one is never added.
#pragma once

#include <string>
#include <vector>

#include "app/run_result.h"

// The report of a run that ended with `status` (the quiet run's status, whoever ran it), whose
// entries `result` holds, and that showed (or in a quiet run logged) `messages` as "TITLE: TEXT".
std::string FormatRunReport(const CRunResult& result, int status,
                            const std::vector<std::string>& messages);

// Writes the report to `target`: "-" for the standard output, else a full path (see
// WriteOutputFile). False when it could not be written, which changes nothing else.
bool WriteRunReport(const std::string& target, const std::string& report);
