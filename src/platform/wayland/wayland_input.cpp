// The seat's keyboard and pointer on Wayland, turned into the saver window's messages.
//
// Realised: a key pressed -> WM_KEYDOWN, or WM_SYSKEYDOWN with Alt held or for F10 alone, with
// the virtual-key code of the key's unshifted keysym (xkbcommon's keysyms are X's); buttons
// left, middle, right -> WM_LBUTTONDOWN / WM_MBUTTONDOWN / WM_RBUTTONDOWN; motion ->
// WM_MOUSEMOVE; the keyboard leaving the saver's surface -> WM_ACTIVATE with WA_INACTIVE; the
// pointer entering -> the pointer hidden and WM_SETCURSOR; a pointer that has entered none of
// the surfaces once they are up -> a motion of no distance, so that the compositor sees it.
//
// Wayland tells a client nothing of the pointer outside its surfaces, so the travel the saver
// measures runs from the first place the pointer is seen: before any pointer event nothing has
// travelled, and the position a move reports is its distance from there in surface
// coordinates. Left out: key repeat and releases, the wheel, touch.
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_windows.h"
#include "platform/windowing/keysym_keys.h"
#include "platform/windowing/window_messages.h"

namespace {

// Linux's input event codes of the three buttons.
constexpr uint32_t kButtonLeft = 0x110;
constexpr uint32_t kButtonRight = 0x111;
constexpr uint32_t kButtonMiddle = 0x112;

struct Input {
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
    WindowId keyboardWindow = 0;
    WindowId pointerWindow = 0;
    bool pointerSeen = false;
    wl_fixed_t originX = 0, originY = 0, x = 0, y = 0;
};

Input input;

// The shared table is written in keysym numbers; xkbcommon's names must be the same numbers.
static_assert(XKB_KEY_space == keysym::kSpace && XKB_KEY_0 == keysym::kDigit0 &&
              XKB_KEY_9 == keysym::kDigit9 && XKB_KEY_a == keysym::kLetterA &&
              XKB_KEY_z == keysym::kLetterZ && XKB_KEY_BackSpace == keysym::kBackSpace &&
              XKB_KEY_Tab == keysym::kTab && XKB_KEY_Return == keysym::kReturn &&
              XKB_KEY_Pause == keysym::kPause && XKB_KEY_Escape == keysym::kEscape &&
              XKB_KEY_Home == keysym::kHome && XKB_KEY_Left == keysym::kLeft &&
              XKB_KEY_Down == keysym::kDown && XKB_KEY_Prior == keysym::kPrior &&
              XKB_KEY_Next == keysym::kNext && XKB_KEY_End == keysym::kEnd &&
              XKB_KEY_Insert == keysym::kInsert && XKB_KEY_KP_0 == keysym::kNumpad0 &&
              XKB_KEY_KP_9 == keysym::kNumpad9 && XKB_KEY_F1 == keysym::kF1 &&
              XKB_KEY_F24 == keysym::kF24 && XKB_KEY_Shift_L == keysym::kShiftL &&
              XKB_KEY_Shift_R == keysym::kShiftR && XKB_KEY_Control_L == keysym::kControlL &&
              XKB_KEY_Control_R == keysym::kControlR && XKB_KEY_Meta_L == keysym::kMetaL &&
              XKB_KEY_Meta_R == keysym::kMetaR && XKB_KEY_Alt_L == keysym::kAltL &&
              XKB_KEY_Alt_R == keysym::kAltR && XKB_KEY_Delete == keysym::kDelete);

void KeyboardKeymap(void*, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        close(fd);
        return;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (text == MAP_FAILED) return;
    xkb_keymap* keymap =
        xkb_keymap_new_from_string(input.context, static_cast<const char*>(text),
                                   XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (keymap == nullptr) return;
    xkb_state_unref(input.state);
    xkb_keymap_unref(input.keymap);
    input.keymap = keymap;
    input.state = xkb_state_new(keymap);
}

void KeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) {
    input.keyboardWindow = WindowOfSurface(surface);
}

void KeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {
    const WindowId window = input.keyboardWindow;
    input.keyboardWindow = 0;
    if (window != 0 && WindowLive(window) && !SurfacesSteppedAside()) {
        PostWindowMessage(window, kWmActivate, kWaInactive, 0);
    }
}

// The key's keysym at the first level of its group, as X's XLookupKeysym(event, 0) gives it.
xkb_keysym_t UnshiftedKeysym(xkb_keycode_t code) {
    const xkb_keysym_t* symbols = nullptr;
    const xkb_layout_index_t layout = xkb_state_key_get_layout(input.state, code);
    const int count = xkb_keymap_key_get_syms_by_level(input.keymap, code, layout, 0, &symbols);
    return count > 0 ? symbols[0] : XKB_KEY_NoSymbol;
}

void KeyboardKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
    const WindowId window = input.keyboardWindow;
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED || input.state == nullptr || window == 0 ||
        !WindowLive(window)) {
        return;
    }
    // Wayland's key numbers are the kernel's; xkb counts from 8, as X does.
    const xkb_keysym_t symbol = UnshiftedKeysym(key + 8);
    const bool alt =
        xkb_state_mod_name_is_active(input.state, XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) > 0 ||
        IsAltKeysym(symbol);
    PostKeyDown(window, VirtualKeyForKeysym(symbol), alt);
}

void KeyboardModifiers(void*, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
                       uint32_t locked, uint32_t group) {
    if (input.state != nullptr) {
        xkb_state_update_mask(input.state, depressed, latched, locked, 0, 0, group);
    }
}

void KeyboardRepeat(void*, wl_keyboard*, int32_t, int32_t) {}

const wl_keyboard_listener kKeyboardListener = {KeyboardKeymap, KeyboardEnter,     KeyboardLeave,
                                                KeyboardKey,    KeyboardModifiers, KeyboardRepeat};

MessageData TravelPoint() {
    int x = 0, y = 0;
    PointerTravel(&x, &y);
    return PointParam(x, y);
}

void SeePointer(wl_fixed_t x, wl_fixed_t y) {
    if (!input.pointerSeen) {
        input.originX = x;
        input.originY = y;
        input.pointerSeen = true;
    }
    input.x = x;
    input.y = y;
}

// The pointer is hidden over every saver surface, on every entry: a compositor shows its own
// cursor again whenever the pointer comes back.
void PointerEnter(void*, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x,
                  wl_fixed_t y) {
    input.pointerWindow = WindowOfSurface(surface);
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    SeePointer(x, y);
    if (input.pointerWindow != 0 && WindowLive(input.pointerWindow)) {
        PostWindowMessage(input.pointerWindow, kWmSetCursor, input.pointerWindow, 0);
    }
}

void PointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {
    input.pointerWindow = 0;
}

void PointerMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    SeePointer(x, y);
    if (input.pointerWindow != 0 && WindowLive(input.pointerWindow)) {
        PostMouseMove(input.pointerWindow, TravelPoint());
    }
}

void PointerButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
    const WindowId window = input.pointerWindow;
    if (state != WL_POINTER_BUTTON_STATE_PRESSED || window == 0 || !WindowLive(window)) return;
    const MessageData point = TravelPoint();
    if (button == kButtonLeft) PostWindowMessage(window, kWmLButtonDown, 0, point);
    if (button == kButtonMiddle) PostWindowMessage(window, kWmMButtonDown, 0, point);
    if (button == kButtonRight) PostWindowMessage(window, kWmRButtonDown, 0, point);
}

void PointerAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void PointerFrame(void*, wl_pointer*) {}
void PointerAxisSource(void*, wl_pointer*, uint32_t) {}
void PointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void PointerAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

// Filled by name from an empty record: the events that newer protocol headers add (Debian
// 13's carry two more than Debian 12's) stay null, and the seat's bound version keeps the
// compositor from sending them.
wl_pointer_listener PointerListener() {
    wl_pointer_listener listener{};
    listener.enter = PointerEnter;
    listener.leave = PointerLeave;
    listener.motion = PointerMotion;
    listener.button = PointerButton;
    listener.axis = PointerAxis;
    listener.frame = PointerFrame;
    listener.axis_source = PointerAxisSource;
    listener.axis_stop = PointerAxisStop;
    listener.axis_discrete = PointerAxisDiscrete;
    return listener;
}

const wl_pointer_listener kPointerListener = PointerListener();

void SeatCapabilities(void*, wl_seat* seat, uint32_t capabilities) {
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && input.keyboard == nullptr) {
        input.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(input.keyboard, &kKeyboardListener, nullptr);
    }
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) != 0 && input.pointer == nullptr) {
        input.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(input.pointer, &kPointerListener, nullptr);
    }
}

void SeatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener = {SeatCapabilities, SeatName};

}  // namespace

void ListenToSeat(WaylandConnection& connection) {
    if (input.context == nullptr) input.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    wl_seat_add_listener(connection.seat, &kSeatListener, nullptr);
}

// Sway 1.10 tells no surface that maps under a pointer at rest that the pointer is over it (a
// fault of that version): the pointer stays the window's below, and a click meant to end the
// saver lands there. Any motion makes the compositor look again, so where no entry has come
// once the surfaces are up, one motion of no distance through a virtual pointer of our own
// brings it. Elsewhere the entry has come and nothing is sent; where it comes late, the motion
// only repeats it at the same place, which is no travel.
void RefreshPointerFocus(WaylandConnection& connection) {
    if (input.pointer == nullptr || input.pointerWindow != 0 ||
        connection.virtualPointers == nullptr) {
        return;
    }
    zwlr_virtual_pointer_v1* nudge = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(
        connection.virtualPointers, connection.seat);
    zwlr_virtual_pointer_v1_motion(nudge, 0, 0, 0);
    zwlr_virtual_pointer_v1_frame(nudge);
    zwlr_virtual_pointer_v1_destroy(nudge);
    wl_display_roundtrip(connection.display);
}

bool PointerTravel(int* x, int* y) {
    *x = input.pointerSeen ? wl_fixed_to_int(input.x - input.originX) : 0;
    *y = input.pointerSeen ? wl_fixed_to_int(input.y - input.originY) : 0;
    return true;
}
