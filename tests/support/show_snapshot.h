// Everything a frame of the show changes (counters, particle tables, credit heights and the
// random generator), so that a stretch of frames can be drawn again from the same start.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "show/random.h"
#include "show/show_state.h"

struct ShowSnapshot {
    ShowState state;
    std::uint32_t random = 0;
    std::vector<RingParticle> ring;
    std::vector<Comet> comets;
    std::vector<Debris> debris;
    std::vector<float> creditY;

    template <typename T>
    static std::vector<T> Copy(const T* table, int count) {
        return table != nullptr ? std::vector<T>(table, table + count) : std::vector<T>{};
    }
    template <typename T>
    static void Restore(const std::vector<T>& saved, T* table) {
        if (table != nullptr) std::copy(saved.begin(), saved.end(), table);
    }

    static ShowSnapshot Take() {
        const ShowState& s = showState;
        return {s,
                RandomState(),
                Copy(s.ringParticles, s.ringArmCount * kRingLayers),
                Copy(s.comets, s.cometCount),
                Copy(s.debris, s.debrisCount),
                Copy(s.creditY, kCreditLineCount)};
    }
    void Put() const {
        showState = state;
        SetRandomState(random);
        Restore(ring, showState.ringParticles);
        Restore(comets, showState.comets);
        Restore(debris, showState.debris);
        Restore(creditY, showState.creditY);
    }
};
