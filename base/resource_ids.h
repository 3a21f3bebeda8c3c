#pragma once
// Resources of the program that more than one of its parts names (kept to plain defines so
// that resource scripts read them too).
#define IDI_TELLARO 128  // the program's icon; sibling dialogs read it from our file as well
#define IDR_ARCHIVE 152  // the scene's data, a ZIP archive of resource type "RFILE"
