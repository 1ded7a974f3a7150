// The report of a run whose main entry got no device: why, in the run's result, and, for a quiet
// run, which devices there are and how to choose one beforehand, in its log.
#include "app/no_device_report.h"

#include <string>

#include "app/command_line.h"
#include "app/files_directory.h"
#include "app/run_log.h"
#include "app/run_result.h"
#include "base/text.h"
#include "platform/paths.h"

namespace {

// A line of the quiet run's log about one device: its type and its name in quotes.
void LogDevice(const CRunLog& log, const char* what, const RASDEVINFOA& device) {
  log.Report({what, FieldText(device.szDeviceType), " \"", FieldText(device.szDeviceName), "\""});
}

}  // namespace

void ReportNoDevice(CRunResult* result, const CMissingDevice& missing, const CRunLog& log,
                    const CRunOptions& options) {
  if (missing.installed.empty()) {
    result->NotStored(g_mainEntryName, false, kRunNoDevice, "no device is installed");
    return;
  }
  const size_t named = missing.answerNamed.size();
  const std::string deviceNote =
      options.device.empty() ? ""
      : named > 1
          ? "/device:" + options.device + " matches " + std::to_string(named) + " devices by " +
                (missing.answerField == DeviceField::kName ? "name" : "type")
          : "/device:" + options.device + " matches no installed device by name or type";
  if (!options.quiet) {
    result->NotStored(g_mainEntryName, false, kRunNoDevice,
                      deviceNote.empty() ? "no device was chosen in the dialog"
                                         : deviceNote + ", and no device was chosen in the dialog");
    return;
  }
  result->NotStored(g_mainEntryName, false, kRunNoDevice,
                    deviceNote.empty() ? "a device must be chosen, and a quiet run asks nobody"
                                       : deviceNote + ", and a quiet run asks nobody");
  if (named > 1) {
    for (const RASDEVINFOA* device : missing.answerNamed) {
      LogDevice(log, "matching device: ", *device);
    }
  } else {
    for (const RASDEVINFOA& device : missing.installed) {
      LogDevice(log, "installed device: ", device);
    }
  }
  // The run stands in the tool's files directory, where the settings file belongs.
  const RASDEVINFOA& first = missing.installed.front();
  char here[kDirectoryCapacity] = "";
  GetCurrentDirectoryPath(here, sizeof here);
  log.Report({"to choose one, name it with /device:NAME or /device:TYPE, or place dialkit.ini in ",
              here, " with section [Modem Selection], keys DeviceType and DeviceName ",
              "(for instance DeviceType=", FieldText(first.szDeviceType), " and DeviceName=",
              FieldText(first.szDeviceName), ")", g_askForDevice ? ", and leave out ASK=0" : ""});
}
