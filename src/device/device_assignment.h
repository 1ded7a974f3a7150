// Device assignment: the device selection dialog, through which the user picks the main
// entry's device.
#pragma once

#include "device/modem_select_dlg.h"
