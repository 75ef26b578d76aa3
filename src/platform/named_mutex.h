// The process-wide named mutex, held for the life of the process. A second instance is
// never refused: the mutex only marks that an instance runs.
#pragma once

void CreateNamedMutex(const char* name);
