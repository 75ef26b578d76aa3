// Sound effects, the part every system shares: the hook point, then the system's own player.
#include "platform/sound.h"

#include "platform/hook_points.h"

void PlaySoundEffect(const std::string& path) {
    if (!StandInTookSoundEffect(path)) PlaySystemSound(path);
}
