#pragma once
// Identifiers of the program's resources; those other parts name too are in base/.
#include "base/resource_ids.h"

#define IDS_INSTANCE_ATOM 1      // name of the single-instance global atom
#define IDS_SLOW_MACHINE 15      // the slow-machine warning
#define IDD_LOADING_NOTICE 150
