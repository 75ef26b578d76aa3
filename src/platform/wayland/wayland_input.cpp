// The seats' keyboards and pointers on Wayland, turned into the saver window's messages.
//
// Realised: a key pressed -> WM_KEYDOWN, or WM_SYSKEYDOWN with Alt held or for F10 alone, with
// the virtual-key code of the key's unshifted keysym (xkbcommon's keysyms are X's); buttons
// left, middle, right -> WM_LBUTTONDOWN / WM_MBUTTONDOWN / WM_RBUTTONDOWN; motion ->
// WM_MOUSEMOVE; the keyboard leaving the saver's surfaces for good -> WM_ACTIVATE with
// WA_INACTIVE; the pointer entering -> the pointer hidden and WM_SETCURSOR; a pointer that has
// entered none of the surfaces once they are up -> a motion of no distance, so that the
// compositor sees it. Every seat counts, and each follows its capabilities: a keyboard or
// pointer unplugged is let go, and taken again when one comes back.
//
// Wayland tells a client nothing of the pointer outside its surfaces, so the travel the saver
// measures runs from the first place the pointer is seen: before any pointer event nothing has
// travelled. Places are counted in the desktop's layout (each surface's output's place there),
// so a move from one monitor to the next is the distance moved, and travel is told in the
// pixels of the monitor the pointer is on, as X11 and Windows count it. Left out: key repeat
// and releases, the wheel, touch.
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <list>

#include "platform/frame_clock.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_windows.h"
#include "platform/windowing/keysym_keys.h"
#include "platform/windowing/window_messages.h"

namespace {

// Linux's input event codes of the three buttons.
constexpr uint32_t kButtonLeft = 0x110;
constexpr uint32_t kButtonRight = 0x111;
constexpr uint32_t kButtonMiddle = 0x112;

// A keyboard that leaves the saver's surfaces was taken away by the user (a workspace switch, a
// shortcut, a lock) unless, within this time, it enters another of the saver's surfaces (the
// compositor handing it between the saver's own windows), or enters again while the outputs
// change (a monitor plugged in or out: the compositor moves the focus as it reconfigures).
// Sway answers a workspace switch with a leave and at once an entry to the same overlay
// surface, which is why an entry alone does not excuse a leave.
constexpr long long kLeaveGraceMs = 300;

struct Seat {
    wl_seat* seat = nullptr;
    std::uint32_t name = 0;  // the registry's
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
};

struct Input {
    std::list<Seat> seats;  // listeners hold their addresses
    xkb_context* context = nullptr;
    WindowId keyboardWindow = 0;
    WindowId leavingWindow = 0;  // a keyboard left it; it counts once the grace has passed
    const wl_surface* leftSurface = nullptr;
    long long leaveDeadlineMs = 0;
    long long outputsChangedMs = 0;
    WindowId pointerWindow = 0;
    bool pointerSeen = false;
    double originX = 0, originY = 0, x = 0, y = 0;  // in the layout
    double pixelsPerUnit = 1.0;                     // of the output under the pointer
};

// Never destroyed: the seats' records (and the keyboards' xkb states they hold) last until
// the process ends, past the exit-time destructors that would free them under a connection
// that still sends events to them.
Input& input = *new Input;

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

void KeyboardKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    auto* seat = static_cast<Seat*>(data);
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
    xkb_state_unref(seat->state);
    xkb_keymap_unref(seat->keymap);
    seat->keymap = keymap;
    seat->state = xkb_state_new(keymap);
}

bool OutputsChangedLately() {
    return MonotonicMilliseconds() - input.outputsChangedMs <= kLeaveGraceMs;
}

void KeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) {
    input.keyboardWindow = WindowOfSurface(surface);
    if (input.leavingWindow == 0 || input.keyboardWindow == 0) return;
    if (surface != input.leftSurface || OutputsChangedLately()) {
        input.leavingWindow = 0;
    } else {
        input.leaveDeadlineMs = 0;  // due now
    }
}

// Counted once the grace has passed (TakeKeyboardLeave), unless an entry excuses it.
void KeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface* surface) {
    const WindowId window = input.keyboardWindow;
    input.keyboardWindow = 0;
    if (window != 0 && WindowLive(window) && !SurfacesSteppedAside()) {
        input.leavingWindow = window;
        input.leftSurface = surface;
        input.leaveDeadlineMs = MonotonicMilliseconds() + kLeaveGraceMs;
    }
}

// The key's keysym at the first level of its group, as X's XLookupKeysym(event, 0) gives it.
xkb_keysym_t UnshiftedKeysym(const Seat& seat, xkb_keycode_t code) {
    const xkb_keysym_t* symbols = nullptr;
    const xkb_layout_index_t layout = xkb_state_key_get_layout(seat.state, code);
    const int count = xkb_keymap_key_get_syms_by_level(seat.keymap, code, layout, 0, &symbols);
    return count > 0 ? symbols[0] : XKB_KEY_NoSymbol;
}

void KeyboardKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
    const auto& seat = *static_cast<Seat*>(data);
    const WindowId window = input.keyboardWindow;
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED || seat.state == nullptr || window == 0 ||
        !WindowLive(window)) {
        return;
    }
    // Wayland's key numbers are the kernel's; xkb counts from 8, as X does.
    const xkb_keysym_t symbol = UnshiftedKeysym(seat, key + 8);
    const bool alt =
        xkb_state_mod_name_is_active(seat.state, XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) > 0 ||
        IsAltKeysym(symbol);
    PostKeyDown(window, VirtualKeyForKeysym(symbol), alt);
}

void KeyboardModifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
                       uint32_t locked, uint32_t group) {
    auto* seat = static_cast<Seat*>(data);
    if (seat->state != nullptr) {
        xkb_state_update_mask(seat->state, depressed, latched, locked, 0, 0, group);
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

// Surface coordinates become the layout's through the place of the surface's output.
void SeePointer(wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    SurfacePlace place;
    if (!PlaceOfSurface(surface, &place)) return;
    input.x = place.x + wl_fixed_to_double(x);
    input.y = place.y + wl_fixed_to_double(y);
    input.pixelsPerUnit = place.pixelsPerUnit;
    if (!input.pointerSeen) {
        input.originX = input.x;
        input.originY = input.y;
        input.pointerSeen = true;
    }
}

// The surface the pointer is over; motion events do not name it.
wl_surface* pointerSurface = nullptr;

// The pointer is hidden over every saver surface, on every entry: a compositor shows its own
// cursor again whenever the pointer comes back.
void PointerEnter(void*, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x,
                  wl_fixed_t y) {
    input.pointerWindow = WindowOfSurface(surface);
    pointerSurface = surface;
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    SeePointer(surface, x, y);
    if (input.pointerWindow != 0 && WindowLive(input.pointerWindow)) {
        PostWindowMessage(input.pointerWindow, kWmSetCursor, input.pointerWindow, 0);
    }
}

void PointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {
    input.pointerWindow = 0;
    pointerSurface = nullptr;
}

void PointerMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    SeePointer(pointerSurface, x, y);
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

void ReleaseKeyboard(Seat& seat) {
    if (seat.keyboard == nullptr) return;
    if (wl_keyboard_get_version(seat.keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) {
        wl_keyboard_release(seat.keyboard);
    } else {
        wl_keyboard_destroy(seat.keyboard);
    }
    seat.keyboard = nullptr;
    xkb_state_unref(seat.state);
    xkb_keymap_unref(seat.keymap);
    seat.state = nullptr;
    seat.keymap = nullptr;
    // Unplugged, a keyboard leaves: the user did not switch away.
    input.leavingWindow = 0;
}

void ReleasePointer(Seat& seat) {
    if (seat.pointer == nullptr) return;
    if (wl_pointer_get_version(seat.pointer) >= WL_POINTER_RELEASE_SINCE_VERSION) {
        wl_pointer_release(seat.pointer);
    } else {
        wl_pointer_destroy(seat.pointer);
    }
    seat.pointer = nullptr;
}

void SeatCapabilities(void* data, wl_seat* wlSeat, uint32_t capabilities) {
    auto& seat = *static_cast<Seat*>(data);
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (keyboard && seat.keyboard == nullptr) {
        seat.keyboard = wl_seat_get_keyboard(wlSeat);
        wl_keyboard_add_listener(seat.keyboard, &kKeyboardListener, &seat);
    } else if (!keyboard) {
        ReleaseKeyboard(seat);
    }
    if (pointer && seat.pointer == nullptr) {
        seat.pointer = wl_seat_get_pointer(wlSeat);
        wl_pointer_add_listener(seat.pointer, &kPointerListener, &seat);
    } else if (!pointer) {
        ReleasePointer(seat);
    }
}

void SeatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener = {SeatCapabilities, SeatName};

}  // namespace

void AddSeat(WaylandConnection&, wl_seat* wlSeat, std::uint32_t name) {
    if (input.context == nullptr) input.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    Seat& seat = input.seats.emplace_back();
    seat.seat = wlSeat;
    seat.name = name;
    wl_seat_add_listener(wlSeat, &kSeatListener, &seat);
}

void RemoveSeat(std::uint32_t name) {
    for (auto seat = input.seats.begin(); seat != input.seats.end(); ++seat) {
        if (seat->name != name) continue;
        ReleaseKeyboard(*seat);
        ReleasePointer(*seat);
        if (wl_seat_get_version(seat->seat) >= WL_SEAT_RELEASE_SINCE_VERSION) {
            wl_seat_release(seat->seat);
        } else {
            wl_seat_destroy(seat->seat);
        }
        input.seats.erase(seat);
        return;
    }
}

// Sway 1.10 tells no surface that maps under a pointer at rest that the pointer is over it (a
// fault of that version): the pointer stays the window's below, and a click meant to end the
// saver lands there. Any motion makes the compositor look again, so where no entry has come
// once the surfaces are up, one motion of no distance through a virtual pointer of our own
// brings it. Elsewhere the entry has come and nothing is sent; where it comes late, the motion
// only repeats it at the same place, which is no travel.
void RefreshPointerFocus(WaylandConnection& connection) {
    if (input.pointerWindow != 0 || connection.virtualPointers == nullptr) return;
    for (const Seat& seat : input.seats) {
        if (seat.pointer == nullptr) continue;
        zwlr_virtual_pointer_v1* nudge = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(
            connection.virtualPointers, seat.seat);
        zwlr_virtual_pointer_v1_motion(nudge, 0, 0, 0);
        zwlr_virtual_pointer_v1_frame(nudge);
        zwlr_virtual_pointer_v1_destroy(nudge);
    }
    wl_display_roundtrip(connection.display);
}

void NoteOutputsChanged() {
    input.outputsChangedMs = MonotonicMilliseconds();
}

int KeyboardLeaveWaitMs() {
    if (input.leavingWindow == 0) return -1;
    const long long left = input.leaveDeadlineMs - MonotonicMilliseconds();
    return left > 0 ? static_cast<int>(left) : 0;
}

void TakeKeyboardLeave() {
    const WindowId window = input.leavingWindow;
    if (window == 0 || KeyboardLeaveWaitMs() > 0) return;
    input.leavingWindow = 0;
    if (WindowLive(window) && !SurfacesSteppedAside()) {
        PostWindowMessage(window, kWmActivate, kWaInactive, 0);
    }
}

bool PointerTravel(int* x, int* y) {
    *x = input.pointerSeen ? static_cast<int>((input.x - input.originX) * input.pixelsPerUnit) : 0;
    *y = input.pointerSeen ? static_cast<int>((input.y - input.originY) * input.pixelsPerUnit) : 0;
    return true;
}
