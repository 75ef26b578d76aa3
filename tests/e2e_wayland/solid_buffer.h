/* A buffer of one colour for the tests' own Wayland clients (a window, a lock screen), shared
 * through a file in memory as wl_shm asks; NULL when one cannot be made. */
#pragma once
#define _GNU_SOURCE
#include <stdint.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

static inline struct wl_buffer* solid_buffer(struct wl_shm* shm, int width, int height,
                                             uint32_t colour) {
    const int stride = width * 4;
    const int size = stride * height;
    const int fd = memfd_create("solid", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0) return NULL;
    uint32_t* pixels = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) return NULL;
    for (int i = 0; i < width * height; ++i) pixels[i] = colour;
    munmap(pixels, size);
    struct wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    struct wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}
