// Dialog templates for window systems that have no resource format of the platform's kind (the
// terminal front end of the POSIX build): a caption and the controls in the order in which they
// are shown. The program hands its templates to the window system that shows them.
#pragma once

#include <cstddef>

#include "framework/window_constants.h"
#include "platform_types.h"

struct CDialogItemTemplate {
  enum Kind { kStatic, kComboBox, kButton };
  int id;
  Kind kind;
  const char* text;  // the initial text; a button's label
};

struct CDialogTemplate {
  UINT id;
  const char* caption;
  const CDialogItemTemplate* items;
  size_t itemCount;
};

// Finds the template `templateId`; null when there is none.
using DialogTemplateLookup = const CDialogTemplate* (*)(UINT templateId);
