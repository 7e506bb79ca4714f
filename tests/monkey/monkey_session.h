#pragma once
// A randomized user session on the headless form: long random sequences of what a
// user can do (typing into visible fields, clicking buttons, options, check boxes
// and matrix boxes, picking list items, mouse work on the plot and over the
// window, answering dialogs, saving and loading files), with the form's
// invariants checked after every single action.
//
// A session is fully determined by its seed, so a failure is reproduced by running
// the same seed again up to the reported action.

#include <cstdint>
#include <string>

namespace lumetra::monkey {

// Small deterministic generator (splitmix64): the same sequence on every
// platform and standard library, unlike the std:: distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (s_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1; n must be positive.
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    // [0, 1)
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return unit() < p; }

private:
    std::uint64_t s_;
};

struct SessionOptions {
    std::uint64_t seed = 1;
    long actions = 2000;
    bool trace = false;  // print every action as it runs
};

struct SessionResult {
    long actions_done = 0;
    long calculations = 0;  // actions after which a spectrum was shown (Calc_state 10)
    long film_spectra = 0;  // ... of a film sample
    long l3_spectra = 0;    // ... with the L3 edge chosen
    long zoomed = 0;        // actions that ended with the plot zoomed in
    int most_rows = -10;    // the largest Elem_count reached
    long dialogs = 0;       // dialogs the form showed
    long saves = 0;         // files written by Save
    // Empty when every invariant held; otherwise the seed, the action index, what
    // failed and the last actions before it.
    std::string failure;
};

SessionResult run_session(const SessionOptions& options);

}  // namespace lumetra::monkey
