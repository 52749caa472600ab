// boardcheck's exit code for a board it has read: 0 nothing to report, 1 warnings or errors.
// (2, a file it cannot read or a wrong command line, comes before there is a check.)
#pragma once

#include "check/BoardCheck.h"

namespace check {

inline int ExitCode(const TBoardCheck& check)
{
    return check.findings.empty() ? 0 : 1;
}

}  // namespace check
