#pragma once
// A static control whose text is painted embossed: Arial 16 px, bold italic, antialiased,
// drawn three times (highlight up-left, shadow down-right, black in place) on the button
// face, one line, aligned as the static's style says. Setting its text repaints it at once.
#include <windows.h>

// Takes over the painting of `label` until its window is destroyed; the font lives as long.
// False when the control can't be subclassed.
bool MakeEmbossedLabel(HWND label);
