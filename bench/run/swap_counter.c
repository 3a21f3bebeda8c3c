/* Counts the buffer swaps of a native OpenGL program: preloaded (LD_PRELOAD) in front of
 * libGL and libEGL, it passes every glXSwapBuffers and eglSwapBuffers on and writes
 * "seconds frames" to the file named by SWAP_COUNTER_LOG once a second, so that a program
 * which shows its frame rate only on screen can be measured from outside. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

static void Count(void) {
  static long frames;
  static double start, reported;
  const double now = Now();
  if (frames++ == 0) start = reported = now;
  if (now - reported < 1.0) return;
  reported = now;
  const char* path = getenv("SWAP_COUNTER_LOG");
  FILE* log = path ? fopen(path, "a") : NULL;
  if (!log) return;
  fprintf(log, "%.3f %ld\n", now - start, frames - 1);
  fclose(log);
}

void glXSwapBuffers(void* display, unsigned long drawable) {
  static void (*next)(void*, unsigned long);
  if (!next) next = (void (*)(void*, unsigned long))dlsym(RTLD_NEXT, "glXSwapBuffers");
  next(display, drawable);
  Count();
}

unsigned int eglSwapBuffers(void* display, void* surface) {
  static unsigned int (*next)(void*, void*);
  if (!next) next = (unsigned int (*)(void*, void*))dlsym(RTLD_NEXT, "eglSwapBuffers");
  const unsigned int result = next(display, surface);
  Count();
  return result;
}
