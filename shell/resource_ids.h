#pragma once
// Identifiers of the program's resources.
#define IDS_INSTANCE_ATOM 1      // name of the single-instance global atom
#define IDS_SLOW_MACHINE 15      // the slow-machine warning
#define IDI_TELLARO 128
#define IDD_LOADING_NOTICE 150
