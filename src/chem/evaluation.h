#pragma once
// From a mixture as read to the contents: the elements the window can hold, the
// amounts and the compound taking the rest (amounts.cpp), then the contents, the
// target, the places and the suggested density (contents.cpp).

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chem/composition.h"
#include "chem/mixture.h"
#include "chem/reader.h"
#include "chem/text_scan.h"

namespace lumetra::chem::detail {

struct Evaluation {
    // The evaluation keeps all three by reference: they must outlive it.
    Evaluation(const Mixture& mixture, std::string_view t, ParsedComposition& result)
        : m(mixture), text(t), r(result) {}

    const Mixture& m;
    std::string_view text;
    ParsedComposition& r;
    Kind kind = Kind::none;
    int balance = -1;    // the compound that takes the rest
    int main_entry = 0;  // the compound the mixture mostly is
    double solvent_density = 0.0;
    std::string solvent_source;
    // How problems of the mixture as a whole begin: kWhole, or where the mixture in
    // brackets stands.
    std::string whole = std::string(kWhole);

    void problem(std::string message, bool acceptable = false) {
        r.problems.push_back({std::move(message), acceptable});
    }
    std::string where(std::size_t at) const { return position(text, at); }

    // amounts.cpp
    bool check_amounts();
    bool find_balance();
    bool moles(std::vector<double>& mol);

    // contents.cpp
    bool check_elements();
    // The mean formula unit of the mixture, and the compound it mostly is.
    Formula mixed(const std::vector<double>& mol) const;
    void find_main(const std::vector<double>& mol);
    void contents(const std::vector<double>& mol);
    void choose_target(std::string_view chosen);
    void fit_places();
    void suggest_density();
    void describe_reading();
};

// Every mixture in brackets of m (and of theirs) evaluated and put in its place as one
// compound, its mean formula unit, with its density. false with the problems in r
// when one cannot be.
bool fold_nested(Mixture& m, std::string_view text, ParsedComposition& r);

}  // namespace lumetra::chem::detail
