/* A lock screen of the tests' own, as swaylock is to a user but with no password: it locks
 * the session with ext_session_lock_v1 (a grey lock surface on every output), prints "locked"
 * once the compositor says the session is locked, and unlocks when its standard input closes,
 * printing "unlocked" once the compositor has it. */
#define _GNU_SOURCE
#include <poll.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include "ext-session-lock-v1-client-protocol.h"
#include "solid_buffer.h"

enum { kMaxOutputs = 8, kGrey = 0x505050 };

static struct wl_compositor* compositor;
static struct wl_shm* shm;
static struct ext_session_lock_manager_v1* lock_manager;
static struct wl_output* outputs[kMaxOutputs];
static int output_count;
static int locked;
static int finished;

static void add_global(void* data, struct wl_registry* registry, uint32_t name,
                       const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_compositor_interface.name) == 0) {
        compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 1);
    } else if (strcmp(interface, wl_shm_interface.name) == 0) {
        shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    } else if (strcmp(interface, ext_session_lock_manager_v1_interface.name) == 0) {
        lock_manager = wl_registry_bind(registry, name, &ext_session_lock_manager_v1_interface, 1);
    } else if (strcmp(interface, wl_output_interface.name) == 0 && output_count < kMaxOutputs) {
        outputs[output_count++] = wl_registry_bind(registry, name, &wl_output_interface, 1);
    }
}

static void remove_global(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {add_global, remove_global};

/* Each lock surface shows grey at the size the compositor gives it. */
static void configure_surface(void* data, struct ext_session_lock_surface_v1* lock_surface,
                              uint32_t serial, uint32_t width, uint32_t height) {
    struct wl_surface* surface = data;
    ext_session_lock_surface_v1_ack_configure(lock_surface, serial);
    struct wl_buffer* buffer = solid_buffer(shm, (int)width, (int)height, kGrey);
    if (buffer == NULL) return;
    wl_surface_attach(surface, buffer, 0, 0);
    wl_surface_commit(surface);
}

static const struct ext_session_lock_surface_v1_listener surface_listener = {configure_surface};

static void on_locked(void* data, struct ext_session_lock_v1* lock) {
    (void)data;
    (void)lock;
    locked = 1;
}

static void on_finished(void* data, struct ext_session_lock_v1* lock) {
    (void)data;
    (void)lock;
    finished = 1;
}

static const struct ext_session_lock_v1_listener lock_listener = {on_locked, on_finished};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) return 1;
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (compositor == NULL || shm == NULL || lock_manager == NULL) {
        fprintf(stderr, "session_lock: the compositor offers no session lock\n");
        return 1;
    }
    struct ext_session_lock_v1* lock = ext_session_lock_manager_v1_lock(lock_manager);
    ext_session_lock_v1_add_listener(lock, &lock_listener, NULL);
    for (int i = 0; i < output_count; ++i) {
        struct wl_surface* surface = wl_compositor_create_surface(compositor);
        struct ext_session_lock_surface_v1* lock_surface =
            ext_session_lock_v1_get_lock_surface(lock, surface, outputs[i]);
        ext_session_lock_surface_v1_add_listener(lock_surface, &surface_listener, surface);
    }
    while (!locked && !finished && wl_display_dispatch(display) >= 0) continue;
    if (!locked) {
        fprintf(stderr, "session_lock: the compositor refused the lock\n");
        return 1;
    }
    printf("locked\n");
    fflush(stdout);
    struct pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {wl_display_get_fd(display), POLLIN, 0}};
    char line[64];
    while (wl_display_flush(display) >= 0 && poll(watched, 2, -1) > 0) {
        if (watched[0].revents != 0 && read(STDIN_FILENO, line, sizeof line) <= 0) break;
        if (watched[1].revents != 0 && wl_display_dispatch(display) < 0) break;
    }
    ext_session_lock_v1_unlock_and_destroy(lock);
    wl_display_roundtrip(display);
    printf("unlocked\n");
    fflush(stdout);
    wl_display_disconnect(display);
    return 0;
}
