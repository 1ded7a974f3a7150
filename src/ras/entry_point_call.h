// Calls into the service through an entry point that Load may have left null. Only the presence
// of RasGetEntryPropertiesA is checked when loading; any other function may be missing from a
// library that claims to be the service. A missing one answers as the platform answers for a
// function that cannot be found, rather than being called.
#pragma once

#include <cstdint>

#include "platform/result_codes.h"

template <typename Function, typename... Arguments>
uint32_t CallEntryPoint(Function function, Arguments... arguments) {
  if (function == nullptr) {
    return ERROR_PROC_NOT_FOUND;
  }
  return function(arguments...);
}
