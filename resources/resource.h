// Identifiers of the tool's resources, shared by the code and the resource script. Plain
// definitions only, so that the resource compiler can read this file as well.
#pragma once

// The application icon.
#define IDR_MAINFRAME 128

// The device selection dialog and its controls.
#define IDD_MODEM_SELECT 109
#define IDC_MODEM_PROMPT 3050
#define IDC_MODEM_LIST 3060
