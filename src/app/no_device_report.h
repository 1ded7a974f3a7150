// The report of a run whose main entry got no device.
#pragma once

#include "device/device_assignment.h"

class CRunLog;
class CRunResult;
struct CRunOptions;

// Why the main entry got no device, as the assignment found it, goes into `result`; a quiet run
// opens no dialog, so its log tells how a device is chosen for it beforehand.
void ReportNoDevice(CRunResult* result, const CMissingDevice& missing, const CRunLog& log,
                    const CRunOptions& options);
