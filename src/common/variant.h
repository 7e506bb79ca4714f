#pragma once
// A window-level variable that holds a number or nothing (Empty). Empty reads as 0
// in arithmetic; the logical value True is stored as the number -1.

namespace lumetra::common {

class Variant {
public:
    Variant() = default;
    Variant(double v) : empty_(false), value_(v) {}  // NOLINT: a number converts implicitly

    bool empty() const { return empty_; }
    double num() const { return empty_ ? 0.0 : value_; }
    operator double() const { return num(); }  // NOLINT
    Variant& operator=(double v) {
        empty_ = false;
        value_ = v;
        return *this;
    }
    void clear() {
        empty_ = true;
        value_ = 0.0;
    }

    static constexpr double True = -1.0;

private:
    bool empty_ = true;
    double value_ = 0.0;
};

}  // namespace lumetra::common
