#pragma once
// OpenGL 1.1 and GLU for the scene, on Windows and natively alike.
#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>
