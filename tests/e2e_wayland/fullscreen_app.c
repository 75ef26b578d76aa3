/* A fullscreen application, as a video player or a game is: an xdg_toplevel that asks to be
 * fullscreen and shows a plain orange buffer the size the compositor gives it, and writes each
 * key it is sent, "key CODE" (Linux input codes), to its standard output. It prints "shown"
 * once its first buffer is up and it has the keyboard, and ends when its standard input
 * closes. */
#define _GNU_SOURCE
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include "solid_buffer.h"
#include "xdg-shell-client-protocol.h"

enum { kOrange = 0x00ff8000, kDefaultWidth = 640, kDefaultHeight = 480 };

static struct wl_compositor* compositor;
static struct wl_shm* shm;
static struct xdg_wm_base* wm_base;
static struct wl_seat* seat;
static struct wl_keyboard* keyboard;
static struct wl_surface* surface;
static struct wl_buffer* buffer;
static int width, height, buffer_width, buffer_height;
static int drawn, focused;

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
    } else if (strcmp(interface, wl_seat_interface.name) == 0 && seat == NULL) {
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
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

static void keymap(void* data, struct wl_keyboard* keyboard, uint32_t format, int32_t fd,
                   uint32_t size) {
    (void)data;
    (void)keyboard;
    (void)format;
    (void)size;
    close(fd);
}

static void enter(void* data, struct wl_keyboard* keyboard, uint32_t serial,
                  struct wl_surface* surface, struct wl_array* keys) {
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)surface;
    (void)keys;
    focused = 1;
}

static void leave(void* data, struct wl_keyboard* keyboard, uint32_t serial,
                  struct wl_surface* surface) {
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)surface;
}

static void key(void* data, struct wl_keyboard* keyboard, uint32_t serial, uint32_t time,
                uint32_t code, uint32_t state) {
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)time;
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED) return;
    printf("key %u\n", code);
    fflush(stdout);
}

static void modifiers(void* data, struct wl_keyboard* keyboard, uint32_t serial, uint32_t depressed,
                      uint32_t latched, uint32_t locked, uint32_t group) {
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)depressed;
    (void)latched;
    (void)locked;
    (void)group;
}

static const struct wl_keyboard_listener keyboard_listener = {
    .keymap = keymap, .enter = enter, .leave = leave, .key = key, .modifiers = modifiers};

/* A headless compositor's seat has a keyboard only once a (virtual) keyboard exists. */
static void capabilities(void* data, struct wl_seat* seat, uint32_t capabilities) {
    (void)data;
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && keyboard == NULL) {
        keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(keyboard, &keyboard_listener, NULL);
    }
}

static const struct wl_seat_listener seat_listener = {.capabilities = capabilities};

static void toplevel_configure(void* data, struct xdg_toplevel* toplevel, int32_t w, int32_t h,
                               struct wl_array* states) {
    (void)data;
    (void)toplevel;
    (void)states;
    width = w > 0 ? w : kDefaultWidth;
    height = h > 0 ? h : kDefaultHeight;
}

static void toplevel_close(void* data, struct xdg_toplevel* toplevel) {
    (void)data;
    (void)toplevel;
}

/* Bound at version 1: the events of later versions are never sent. */
static const struct xdg_toplevel_listener toplevel_listener = {.configure = toplevel_configure,
                                                               .close = toplevel_close};

/* Each configure of a new size gets a buffer of that size. */
static void surface_configure(void* data, struct xdg_surface* xdg_surface, uint32_t serial) {
    (void)data;
    xdg_surface_ack_configure(xdg_surface, serial);
    if (buffer == NULL || width != buffer_width || height != buffer_height) {
        if (buffer != NULL) wl_buffer_destroy(buffer);
        buffer = solid_buffer(shm, width, height, kOrange);
        buffer_width = width;
        buffer_height = height;
    }
    wl_surface_attach(surface, buffer, 0, 0);
    wl_surface_damage(surface, 0, 0, width, height);
    wl_surface_commit(surface);
    drawn = buffer != NULL;
}

static const struct xdg_surface_listener surface_listener = {surface_configure};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) return 1;
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (compositor == NULL || shm == NULL || wm_base == NULL || seat == NULL) {
        fprintf(stderr, "fullscreen_app: the compositor lacks a global this needs\n");
        return 1;
    }
    xdg_wm_base_add_listener(wm_base, &wm_base_listener, NULL);
    wl_seat_add_listener(seat, &seat_listener, NULL);
    surface = wl_compositor_create_surface(compositor);
    struct xdg_surface* xdg_surface = xdg_wm_base_get_xdg_surface(wm_base, surface);
    xdg_surface_add_listener(xdg_surface, &surface_listener, NULL);
    struct xdg_toplevel* toplevel = xdg_surface_get_toplevel(xdg_surface);
    xdg_toplevel_add_listener(toplevel, &toplevel_listener, NULL);
    xdg_toplevel_set_title(toplevel, "fullscreen application");
    xdg_toplevel_set_fullscreen(toplevel, NULL);
    wl_surface_commit(surface);
    while (!(drawn && focused) && wl_display_dispatch(display) >= 0) continue;
    printf("shown\n");
    fflush(stdout);
    struct pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {wl_display_get_fd(display), POLLIN, 0}};
    char line[64];
    while (wl_display_flush(display) >= 0 && poll(watched, 2, -1) > 0) {
        if (watched[0].revents != 0 && read(STDIN_FILENO, line, sizeof line) <= 0) break;
        if (watched[1].revents != 0 && wl_display_dispatch(display) < 0) break;
    }
    xdg_toplevel_destroy(toplevel);
    xdg_surface_destroy(xdg_surface);
    wl_surface_destroy(surface);
    if (buffer != NULL) wl_buffer_destroy(buffer);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
