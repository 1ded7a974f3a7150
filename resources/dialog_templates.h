// The tool's dialogs for window systems without a resource format of their own (the terminal
// front end of the POSIX build). The Windows program's dialogs are its resources (dialkit.rc).
#pragma once

#include "framework/dialog_template.h"

// The program's template `templateId`; null when it has none.
const CDialogTemplate* FindDialogTemplate(UINT templateId);
