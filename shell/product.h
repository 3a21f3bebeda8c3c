#pragma once
// What the version resources and the installer say about the product; one place for both
// programs (the installer script reads TELLARO_VERSION_TEXT from here too).
#define TELLARO_VERSION_NUMBER 1, 0, 0, 0
#define TELLARO_VERSION_TEXT "1.0"
#define TELLARO_COMPANY "Kestrune"
#define TELLARO_PRODUCT "Tellaro"
#define TELLARO_COLLECTION "Halcyonix 3D"
#define TELLARO_COPYRIGHT "Copyright (C) Kestrune"
