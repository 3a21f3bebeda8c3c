#include "resources/resource_lookup.h"

// Programs built for other systems carry no resources; their archives come as byte buffers.
bool LockProgramResource(int32_t, LockedResource*) { return false; }
