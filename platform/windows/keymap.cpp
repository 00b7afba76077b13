// Keys as the window messages give them: bits 16 to 23 of lParam are the
// key's scan code, bit 24 says it came with the extended prefix (E0). The
// game's scan codes are the same numbers, with 0x80 added for an extended
// key, so most keys need no table at all.

#include "platform/windows/win_machine.h"

namespace platform::windows {

uint8_t dikFromKeyMessage(WPARAM virtualKey, LPARAM lParam) {
    auto scanCode = static_cast<uint32_t>((lParam >> 16) & 0xFF);
    const bool extended = (lParam & (1 << 24)) != 0;
    // Pause sends Num Lock's scan code without the prefix, and Num Lock
    // sends it with one: the one pair the rule above gets backwards.
    if (virtualKey == VK_PAUSE) return DIK_PAUSE;
    if (virtualKey == VK_NUMLOCK) return DIK_NUMLOCK;
    // Keys made up by software may come without a scan code; the system's
    // own table gives the one the key would have.
    if (scanCode == 0) {
        const UINT mapped = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC_EX);
        scanCode = mapped & 0xFF;
        if (scanCode == 0) return 0;
        if ((mapped & 0xFF00) == 0xE000) return static_cast<uint8_t>(scanCode | 0x80);
        return static_cast<uint8_t>(scanCode);
    }
    if (scanCode >= 0x80) return 0;  // no key of a PC keyboard sends these
    return static_cast<uint8_t>(extended ? scanCode | 0x80 : scanCode);
}

}  // namespace platform::windows
