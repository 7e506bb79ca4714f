#pragma once
// A formula as read: its elements with their atoms per formula unit.

#include <cstddef>
#include <vector>

#include "chem/elements.h"

namespace lumetra::chem::detail {

struct Atom {
    int Z = 0;
    double n = 0.0;      // atoms per formula unit
    std::size_t at = 0;  // byte where the text first names it
};

struct Formula {
    std::vector<Atom> atoms;  // in the order the text names them

    void add(int Z, double n, std::size_t at) {
        for (Atom& a : atoms) {
            if (a.Z == Z) {
                a.n += n;
                return;
            }
        }
        atoms.push_back({Z, n, at});
    }
    void add(const Formula& f, double times) {
        for (const Atom& a : f.atoms) add(a.Z, a.n * times, a.at);
    }
    double weight() const {  // g/mol
        double M = 0.0;
        for (const Atom& a : atoms) M += a.n * atomic_weight(a.Z);
        return M;
    }
    double count() const {
        double N = 0.0;
        for (const Atom& a : atoms) N += a.n;
        return N;
    }
};

}  // namespace lumetra::chem::detail
