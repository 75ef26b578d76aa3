/* What a playing video does to keep the session from going idle: a window (an xdg_toplevel
 * with a plain grey buffer, since compositors honour an inhibitor only while its surface is
 * seen) holding a zwp_idle_inhibitor_v1. It prints "held" once the compositor has both, and
 * lets go (ends) when its standard input closes. */
#define _GNU_SOURCE
#include <poll.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include "idle-inhibit-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

enum { kWidth = 320, kHeight = 240, kStride = kWidth * 4, kGrey = 0x80 };

static struct wl_compositor* compositor;
static struct wl_shm* shm;
static struct xdg_wm_base* wm_base;
static struct zwp_idle_inhibit_manager_v1* inhibit_manager;
static int configured;

static void add_global(void* data, struct wl_registry* registry, uint32_t name,
                       const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_compositor_interface.name) == 0) {
        compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 1);
    } else if (strcmp(interface, wl_shm_interface.name) == 0) {
        shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    } else if (strcmp(interface, xdg_wm_base_interface.name) == 0) {
        wm_base = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
    } else if (strcmp(interface, zwp_idle_inhibit_manager_v1_interface.name) == 0) {
        inhibit_manager =
            wl_registry_bind(registry, name, &zwp_idle_inhibit_manager_v1_interface, 1);
    }
}

static void remove_global(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {add_global, remove_global};

static void ping(void* data, struct xdg_wm_base* base, uint32_t serial) {
    (void)data;
    xdg_wm_base_pong(base, serial);
}

static const struct xdg_wm_base_listener wm_base_listener = {ping};

static void configure_surface(void* data, struct xdg_surface* surface, uint32_t serial) {
    (void)data;
    xdg_surface_ack_configure(surface, serial);
    configured = 1;
}

static const struct xdg_surface_listener surface_listener = {configure_surface};

static struct wl_buffer* grey_buffer(void) {
    const int size = kStride * kHeight;
    const int fd = memfd_create("inhibitor", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0) return NULL;
    void* pixels = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) return NULL;
    memset(pixels, kGrey, size);
    munmap(pixels, size);
    struct wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    struct wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, kWidth, kHeight, kStride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) return 1;
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (compositor == NULL || shm == NULL || wm_base == NULL || inhibit_manager == NULL) {
        fprintf(stderr, "idle_inhibitor: the compositor lacks a protocol this needs\n");
        return 1;
    }
    xdg_wm_base_add_listener(wm_base, &wm_base_listener, NULL);
    struct wl_surface* surface = wl_compositor_create_surface(compositor);
    struct xdg_surface* xdg_surface = xdg_wm_base_get_xdg_surface(wm_base, surface);
    xdg_surface_add_listener(xdg_surface, &surface_listener, NULL);
    struct xdg_toplevel* toplevel = xdg_surface_get_toplevel(xdg_surface);
    xdg_toplevel_set_title(toplevel, "idle inhibitor");
    wl_surface_commit(surface);
    while (!configured && wl_display_dispatch(display) >= 0) continue;
    struct wl_buffer* buffer = grey_buffer();
    if (buffer == NULL) return 1;
    struct zwp_idle_inhibitor_v1* inhibitor =
        zwp_idle_inhibit_manager_v1_create_inhibitor(inhibit_manager, surface);
    wl_surface_attach(surface, buffer, 0, 0);
    wl_surface_commit(surface);
    wl_display_roundtrip(display);
    printf("held\n");
    fflush(stdout);
    /* The compositor's pings are answered while the window stays. */
    struct pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {wl_display_get_fd(display), POLLIN, 0}};
    char line[64];
    while (wl_display_flush(display) >= 0 && poll(watched, 2, -1) > 0) {
        if (watched[0].revents != 0 && read(STDIN_FILENO, line, sizeof line) <= 0) break;
        if (watched[1].revents != 0 && wl_display_dispatch(display) < 0) break;
    }
    zwp_idle_inhibitor_v1_destroy(inhibitor);
    xdg_toplevel_destroy(toplevel);
    xdg_surface_destroy(xdg_surface);
    wl_surface_destroy(surface);
    wl_buffer_destroy(buffer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
