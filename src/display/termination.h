// Requests to stop from outside (SIGINT, SIGTERM, or the console's close on Windows).
#pragma once

namespace zz {

void InstallTerminationHandlers();
bool TerminationRequested();

}  // namespace zz
