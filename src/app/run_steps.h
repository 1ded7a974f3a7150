// The steps that the provisioning run and the removal run share: the usage notice, loading the
// service and asking before entries go.
#pragma once

#include <cstddef>

#include "app/run_log.h"

// Room for a message with two names or a path of 339 characters each.
inline constexpr size_t kMessageCapacity = 1024;

// Shows the usage notice and returns the message box's answer.
int ShowUsage();

// Asks whether the named entries may go, one or both (a null name is not asked about): true when
// neither is named or the answer is OK. In a quiet run the window system logs the question and
// answers Cancel.
bool Confirm(const char* first, const char* second, const char* oneText, const char* bothText,
             const char* title);

// Loads the remote-access library; when it cannot, tells the user and logs where it was looked
// for.
bool LoadService(const CRunLog& log);
