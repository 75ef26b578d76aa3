/* The tests' own keyboard and pointer on a wlroots compositor: a virtual keyboard (with the
 * default keymap) and a virtual pointer that live as long as this program, so the seat keeps
 * both devices however many commands come, and that do what each line of its standard input
 * says:
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

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

enum { kMaxKeys = 8, kXkbOffset = 8 };

static struct zwlr_virtual_pointer_manager_v1* pointer_manager;
static struct zwp_virtual_keyboard_manager_v1* keyboard_manager;
static struct wl_seat* seat;

static void add_global(void* data, struct wl_registry* registry, uint32_t name,
                       const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        pointer_manager =
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    } else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        keyboard_manager =
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
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

static void key(struct zwp_virtual_keyboard_v1* keyboard, struct xkb_state* state, uint32_t time,
                unsigned code, int pressed) {
    zwp_virtual_keyboard_v1_key(keyboard, time, code, pressed ? 1 : 0);
    xkb_state_update_key(state, code + kXkbOffset, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_modifiers(
        keyboard, xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
        xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
}

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) return 1;
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (pointer_manager == NULL || keyboard_manager == NULL || seat == NULL) return 1;
    struct zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointer_manager, seat);
    struct zwp_virtual_keyboard_v1* keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(keyboard_manager, seat);
    struct xkb_state* state = send_keymap(keyboard);
    if (state == NULL) return 1;
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
            zwlr_virtual_pointer_v1_motion(pointer, time, wl_fixed_from_double(dx),
                                           wl_fixed_from_double(dy));
            zwlr_virtual_pointer_v1_frame(pointer);
        } else if (sscanf(line, "click %u", &button) == 1) {
            zwlr_virtual_pointer_v1_button(pointer, time, button, 1);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, time + 5, button, 0);
            zwlr_virtual_pointer_v1_frame(pointer);
        } else if (strncmp(line, "keys", 4) == 0) {
            const char* rest = line + 4;
            while (count < kMaxKeys && sscanf(rest, "%u%n", &codes[count], &used) == 1) {
                rest += used;
                key(keyboard, state, time, codes[count++], 1);
            }
            while (count > 0) key(keyboard, state, time + 5, codes[--count], 0);
        }
        wl_display_roundtrip(display);
        printf("ok\n");
        fflush(stdout);
    }
    xkb_state_unref(state);
    zwp_virtual_keyboard_v1_destroy(keyboard);
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
