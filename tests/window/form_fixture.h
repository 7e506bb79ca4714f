#pragma once
// A started form with scripted dialogs, and small helpers to drive it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/dialogs.h"
#include "common/numtext.h"
#include "window/radirido.h"

namespace lumetra::window::testing {

inline RADirido& form_of(RADirido& form) {
    return form;
}

// Owner is the form itself or what holds it (found by form_of).
template <typename Owner>
class FormTestOf : public ::testing::Test {
protected:
    common::ScriptedDialogs dialogs;
    Owner owner{dialogs};
    RADirido& form = form_of(owner);

    std::vector<std::string> shown_texts() const {
        std::vector<std::string> out;
        for (const auto& d : dialogs.shown()) out.push_back(d.text);
        return out;
    }
    // Target with content, and matrix rows as symbol/content pairs.
    void enter_sample(const std::string& target, const std::string& content,
                      const std::vector<std::pair<std::string, std::string>>& rows = {}) {
        form.Text1.set_text(target);
        form.Text51.set_text(content);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            form.Text2[i]->set_text(rows[i].first);
            form.Text52[i]->set_text(rows[i].second);
        }
    }
    double val(const std::string& s) const { return text::Val(s); }
};

using FormTest = FormTestOf<RADirido>;

}  // namespace lumetra::window::testing
