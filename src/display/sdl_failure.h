// Reporting a failed SDL call on standard error, with SDL's own message. Standard output is
// kept for the program's failure line.
#pragma once

namespace zz {

void ReportSdlFailure(const char* what);

}  // namespace zz
