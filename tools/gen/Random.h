// SPDX-License-Identifier: GPL-3.0-or-later
// A small deterministic random generator for the content generators, so every build draws the same
// pictures, sounds and tunes. Owns only its state.
#pragma once

namespace gen {

class Rng final {
public:
    explicit Rng(unsigned seed) : m_State(seed * 2654435761ull + 0x9e3779b9ull) {}
    unsigned Next() {
        m_State = m_State * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>(m_State >> 33);
    }
    double Uniform(double lo = 0.0, double hi = 1.0) { return lo + (hi - lo) * (Next() / 2147483648.0); }  // [lo, hi)
    int Range(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<unsigned>(hi - lo + 1));
    }  // inclusive

private:
    unsigned long long m_State;
};

}  // namespace gen
