/* The tests' own keyboard and pointer: on a wlroots compositor a virtual keyboard (with the
 * default keymap) and a virtual pointer, on KWin its fake input (which it grants to a client of
 * its own user), that live as long as this program, so the seat keeps the devices however many
 * commands come, and that do what each line of its standard input says:
 *   keys CODE...    presses the keys in order, then releases them in reverse (Linux input
 *                   codes: 28 Return, 57 space, 56 left Alt, 62 F4)
 *   move DX DY      relative pointer motion
 *   click BUTTON    press and release (272 left, 273 right, 274 middle)
 * It prints "ok" after each, once the compositor has it. */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "fake-input-client-protocol.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

enum { kMaxKeys = 8, kXkbOffset = 8 };

static struct zwlr_virtual_pointer_manager_v1* pointer_manager;
static struct zwp_virtual_keyboard_manager_v1* keyboard_manager;
static struct wl_seat* seat;
static struct org_kde_kwin_fake_input* fake_input;

static void add_global(void* data, struct wl_registry* registry, uint32_t name,
                       const char* interface, uint32_t version) {
    (void)data;
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        pointer_manager =
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    } else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        keyboard_manager =
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    } else if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
        /* Version 4 is the first with keys. */
        fake_input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
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

/* The default keymap, handed to the compositor in a file; its state, which tracks the
 * modifiers, holds the keymap. */
static struct xkb_state* send_keymap(struct zwp_virtual_keyboard_v1* keyboard) {
    struct xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    struct xkb_keymap* keymap = xkb_keymap_new_from_names(context, NULL, 0);
    xkb_context_unref(context);
    if (keymap == NULL) return NULL;
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const size_t size = strlen(text) + 1;
    const int fd = memfd_create("keymap", MFD_CLOEXEC);
    const int written = fd >= 0 && write(fd, text, size) == (ssize_t)size;
    if (written) {
        zwp_virtual_keyboard_v1_keymap(keyboard, XKB_KEYMAP_FORMAT_TEXT_V1, fd, (uint32_t)size);
    }
    if (fd >= 0) close(fd);
    free(text);
    struct xkb_state* state = written ? xkb_state_new(keymap) : NULL;
    xkb_keymap_unref(keymap);
    return state;
}

/* The devices of one protocol: what each command becomes. */
struct devices {
    void (*key)(struct devices* devices, uint32_t time, unsigned code, int pressed);
    void (*motion)(struct devices* devices, uint32_t time, double dx, double dy);
    void (*button)(struct devices* devices, uint32_t time, unsigned button, int pressed);
    struct zwp_virtual_keyboard_v1* keyboard;
    struct zwlr_virtual_pointer_v1* pointer;
    struct xkb_state* state;
};

static void wlr_key(struct devices* devices, uint32_t time, unsigned code, int pressed) {
    zwp_virtual_keyboard_v1_key(devices->keyboard, time, code, pressed ? 1 : 0);
    struct xkb_state* state = devices->state;
    xkb_state_update_key(state, code + kXkbOffset, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_modifiers(
        devices->keyboard, xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
        xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
}

static void wlr_motion(struct devices* devices, uint32_t time, double dx, double dy) {
    zwlr_virtual_pointer_v1_motion(devices->pointer, time, wl_fixed_from_double(dx),
                                   wl_fixed_from_double(dy));
    zwlr_virtual_pointer_v1_frame(devices->pointer);
}

static void wlr_button(struct devices* devices, uint32_t time, unsigned button, int pressed) {
    zwlr_virtual_pointer_v1_button(devices->pointer, time, button, pressed ? 1 : 0);
    zwlr_virtual_pointer_v1_frame(devices->pointer);
}

/* KWin's fake input keeps the modifiers itself and stamps the events with its own clock. */
static void kwin_key(struct devices* devices, uint32_t time, unsigned code, int pressed) {
    (void)devices;
    (void)time;
    org_kde_kwin_fake_input_keyboard_key(fake_input, code, pressed ? 1 : 0);
}

static void kwin_motion(struct devices* devices, uint32_t time, double dx, double dy) {
    (void)devices;
    (void)time;
    org_kde_kwin_fake_input_pointer_motion(fake_input, wl_fixed_from_double(dx),
                                           wl_fixed_from_double(dy));
}

static void kwin_button(struct devices* devices, uint32_t time, unsigned button, int pressed) {
    (void)devices;
    (void)time;
    org_kde_kwin_fake_input_button(fake_input, button, pressed ? 1 : 0);
}

/* The devices of whichever protocol the compositor offers; false when it offers neither. */
static int open_devices(struct devices* devices) {
    if (fake_input != NULL) {
        org_kde_kwin_fake_input_authenticate(fake_input, "vostrel-test-input", "the tests' input");
        *devices = (struct devices){kwin_key, kwin_motion, kwin_button, NULL, NULL, NULL};
        return 1;
    }
    if (pointer_manager == NULL || keyboard_manager == NULL || seat == NULL) return 0;
    *devices = (struct devices){wlr_key, wlr_motion, wlr_button, NULL, NULL, NULL};
    devices->pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointer_manager, seat);
    devices->keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(keyboard_manager, seat);
    devices->state = send_keymap(devices->keyboard);
    return devices->state != NULL;
}

static void close_devices(struct devices* devices) {
    if (devices->state != NULL) xkb_state_unref(devices->state);
    if (devices->keyboard != NULL) zwp_virtual_keyboard_v1_destroy(devices->keyboard);
    if (devices->pointer != NULL) zwlr_virtual_pointer_v1_destroy(devices->pointer);
}

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) return 1;
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    struct devices devices;
    if (!open_devices(&devices)) return 1;
    wl_display_roundtrip(display);
    char line[128];
    uint32_t time = 0;
    while (fgets(line, sizeof line, stdin) != NULL) {
        double dx = 0, dy = 0;
        unsigned button = 0;
        unsigned codes[kMaxKeys];
        int count = 0, used = 0;
        time += 10;
        if (sscanf(line, "move %lf %lf", &dx, &dy) == 2) {
            devices.motion(&devices, time, dx, dy);
        } else if (sscanf(line, "click %u", &button) == 1) {
            devices.button(&devices, time, button, 1);
            devices.button(&devices, time + 5, button, 0);
        } else if (strncmp(line, "keys", 4) == 0) {
            const char* rest = line + 4;
            while (count < kMaxKeys && sscanf(rest, "%u%n", &codes[count], &used) == 1) {
                rest += used;
                devices.key(&devices, time, codes[count++], 1);
            }
            while (count > 0) devices.key(&devices, time + 5, codes[--count], 0);
        }
        wl_display_roundtrip(display);
        printf("ok\n");
        fflush(stdout);
    }
    close_devices(&devices);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
