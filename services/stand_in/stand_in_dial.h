// The stand-in service's dials: they pass through the platform's dial states one after another
// (kDialStates of service_files.h), a short pause apart, and end in RASCS_Connected or, when
// failures.txt orders it, in the ordered state with the ordered error.
#pragma once

#include <memory>

#include "service_dials.h"

std::unique_ptr<CDialProgress> ScriptedDial(DialOutcome outcome);
