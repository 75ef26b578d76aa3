// The keysym table behind keysym_keys.h.
#include "platform/windowing/keysym_keys.h"

#include "platform/windowing/window_messages.h"

namespace {

namespace vk = virtual_key;

// A range of keysyms in the order of its codes, or, where `shared`, keysyms that all give the
// one code (left and right Shift are both VK_SHIFT).
struct KeyRange {
    uint32_t first, last;
    MessageParam firstCode;
    bool shared = false;
};
constexpr KeyRange kVirtualKeys[] = {
    {keysym::kLetterA, keysym::kLetterZ, vk::kLetterA},
    {keysym::kDigit0, keysym::kDigit9, vk::kDigit0},
    {keysym::kF1, keysym::kF24, vk::kF1},
    {keysym::kNumpad0, keysym::kNumpad9, vk::kNumpad0},
    {keysym::kBackSpace, keysym::kTab, vk::kBack},
    {keysym::kReturn, keysym::kReturn, vk::kReturn},
    {keysym::kPause, keysym::kPause, vk::kPause},
    {keysym::kEscape, keysym::kEscape, vk::kEscape},
    {keysym::kSpace, keysym::kSpace, vk::kSpace},
    {keysym::kPrior, keysym::kNext, vk::kPrior},
    {keysym::kEnd, keysym::kEnd, vk::kPrior + 2},
    {keysym::kHome, keysym::kHome, vk::kPrior + 3},
    {keysym::kLeft, keysym::kDown, vk::kPrior + 4},
    {keysym::kInsert, keysym::kInsert, vk::kInsert},
    {keysym::kDelete, keysym::kDelete, vk::kDelete},
    {keysym::kShiftL, keysym::kShiftR, vk::kShift, true},
    {keysym::kControlL, keysym::kControlR, vk::kControl, true},
    {keysym::kAltL, keysym::kAltR, vk::kMenu, true},
};

}  // namespace

MessageParam VirtualKeyForKeysym(uint32_t key) {
    for (const KeyRange& range : kVirtualKeys) {
        if (key < range.first || key > range.last) continue;
        return range.shared ? range.firstCode : range.firstCode + (key - range.first);
    }
    return 0;
}

bool IsAltKeysym(uint32_t key) {
    return key == keysym::kAltL || key == keysym::kAltR || key == keysym::kMetaL ||
           key == keysym::kMetaR;
}
