// The tool's dialogs for the terminal front end of the POSIX build, which has no resource format
// of the platform's kind.
#pragma once

#include "framework/dialog_template.h"

// The program's template `templateId`; null when it has none.
const CDialogTemplate* FindDialogTemplate(UINT templateId);
