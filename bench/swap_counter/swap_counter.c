/* A preload library for measuring a live saver from outside: it counts glXSwapBuffers calls
 * and writes the count to $SWAP_COUNT_FILE when the process exits. With $SWAP_WAIT_HZ set,
 * every swap also blocks until the next tick of that rate, as a driver that honours the swap
 * interval does, so the same machine can show both kinds of driver. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long swapCount;

static void WaitForNextTick(double hz) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const double seconds = now.tv_sec + now.tv_nsec / 1e9;
    const double next = ((long long)(seconds * hz) + 1) / hz;
    struct timespec until = {(time_t)next, (long)((next - (time_t)next) * 1e9)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, NULL) != 0) {
    }
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static void (*real)(Display*, GLXDrawable);
    if (real == NULL) real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    real(display, drawable);
    const char* hz = getenv("SWAP_WAIT_HZ");
    if (hz != NULL && atof(hz) > 0.0) WaitForNextTick(atof(hz));
    ++swapCount;
}

__attribute__((destructor)) static void WriteCount(void) {
    const char* path = getenv("SWAP_COUNT_FILE");
    if (path == NULL) return;
    FILE* file = fopen(path, "w");
    if (file == NULL) return;
    fprintf(file, "%ld\n", swapCount);
    fclose(file);
}
