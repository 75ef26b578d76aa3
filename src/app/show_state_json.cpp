#include "app/show_state_json.h"

#include <cmath>
#include <cstdio>

#include "show/random.h"
#include "show/show_state.h"

namespace {

// Nine significant digits give back every float exactly; JSON has no infinities.
std::string FloatText(float value) {
    if (!std::isfinite(value)) return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

}  // namespace

std::string ShowStateJson(int drawnFrame) {
    const ShowState& s = showState;
    return "{\"frame\":" + std::to_string(drawnFrame) +
           ",\"showFrame\":" + std::to_string(s.showFrame) +
           ",\"sunPhase\":" + (s.sunPhase ? "true" : "false") +
           ",\"sunTicks\":" + std::to_string(s.sunTicks) +
           ",\"lastBangStep\":" + std::to_string(s.lastBangStep) +
           ",\"spinAngle\":" + std::to_string(s.spinAngle) +
           ",\"slowAngle\":" + FloatText(s.slowAngle) + ",\"sunYaw\":" + FloatText(s.sunYaw) +
           ",\"ringRadius\":" + FloatText(s.ringRadius) +
           ",\"ringAlpha\":" + std::to_string(s.ringAlpha) +
           ",\"burstTimer\":" + std::to_string(s.burstTimer) +
           ",\"blastCountdown\":" + std::to_string(s.blastCountdown) +
           ",\"flashStep\":" + std::to_string(s.flashStep) +
           ",\"emblemAngle\":" + std::to_string(s.emblemAngle) +
           ",\"rng\":" + std::to_string(RandomState()) + "}";
}
