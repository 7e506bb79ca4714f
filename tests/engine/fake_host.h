#pragma once
// A stand-in for the window: field values by name, the distance write recorded.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "common/numtext.h"
#include "engine/calc_state.h"
#include "engine/host.h"

namespace lumetra::engine::testing {

class FakeHost : public Host {
public:
    FakeHost() {
        values = {{Field::XrayEnergy, 10.0}, {Field::Width, 0.3},        {Field::FullEnergy, 20.0},
                  {Field::Distance, 10.0},   {Field::Filter, 0.0},       {Field::IncidentAngle, 45.0},
                  {Field::TakeoffAngle, 45.0}, {Field::Density, 2.2},    {Field::Thickness, 50.0},
                  {Field::TargetLineEnergy, 6.4}};
    }

    double field(Field f) override { return values[f]; }
    void set_distance_text(const std::string& text) override {
        distance_writes.push_back(text);
        values[Field::Distance] = text::Val(text);
        if (on_distance_write) on_distance_write();
    }
    void show_calculating() override { ++notices; }
    common::Dialogs& dialogs() override { return dialog_box; }
    void clear_matrix() override { ++matrix_clears; }

    std::map<Field, double> values;
    std::vector<std::string> distance_writes;
    int notices = 0;
    int matrix_clears = 0;
    common::ScriptedDialogs dialog_box;
    std::function<void()> on_distance_write;
};

struct Element {
    std::int16_t z;
    double mass;     // g/mol
    double content;  // atoms per formula unit
};

// A sample of a target and matrix elements, bulk, K-alpha 1&2 counted, nothing marked.
inline CalcState sample(std::initializer_list<Element> elements) {
    CalcState st;
    int i = 0;
    for (const Element& e : elements) {
        st.Elem_z[i] = e.z;
        st.Elem_mass[i] = e.mass;
        st.Elem_content[i] = e.content;
        ++i;
    }
    st.Elem_count = static_cast<std::int16_t>(i - 1);
    st.Target_line = 0;
    st.Sample_form = 10;
    st.Elem_mark = 0;
    st.Edge_mode = 10;
    return st;
}

constexpr Element kIron{26, 55.845, 1.0};
constexpr Element kStrontium{38, 87.62, 1.0};
constexpr Element kCopper{29, 63.546, 1.0};
constexpr Element kOxygen{8, 15.999, 3.0};
constexpr Element kSilicon{14, 28.086, 1.0};

}  // namespace lumetra::engine::testing
