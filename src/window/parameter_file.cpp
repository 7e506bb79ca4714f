// "Save" and "Load" of the sample composition.

#include <algorithm>
#include <string>

#include "common/numtext.h"
#include "window/file_io.h"
#include "window/parameter_format.h"
#include "window/radirido.h"

namespace lumetra::window {

void RADirido::Command5_Click() {
    if (Text1.text().empty() || !(text::Val(Text51.text()) >= 1e-16)) {
        dialogs_.message("insufficient parameter !");
        return;
    }
    Composition c;
    c.count = st.Elem_count;
    c.target_symbol = Text1.text();
    c.target_content = Text51.text();
    const int rows = std::min<int>(st.Elem_count, kRows);
    for (int i = 0; i < rows; ++i) c.rows.emplace_back(Text2[i]->text(), Text52[i]->text());
    if (st.Elem_count > kRows) c.count = kRows;

    bool ok = storable(c.target_symbol) && storable(c.target_content);
    for (const auto& row : c.rows) ok = ok && storable(row.first) && storable(row.second);
    if (!ok) {
        dialogs_.message(
            "A symbol or content holds a double quote or a line break and "
            "cannot be saved.");
        return;
    }

    // Load reads at most kMaxParameterFileSize bytes: never write a file it would refuse.
    const std::string bytes = format_parameters(c);
    if (bytes.size() > kMaxParameterFileSize) {
        dialogs_.message("The composition is too long to be saved (more than " +
                         std::to_string(kMaxParameterFileSize / 1024) + " KiB).");
        return;
    }

    const std::string name = dialogs_.save_file_name("sample1");
    if (name.empty()) return;  // cancelled
    const std::string problem = write_replacing(name, bytes);
    if (!problem.empty()) dialogs_.message(problem);
}

void RADirido::Command6_Click() {
    const std::string name = dialogs_.load_file_name();
    if (name.empty()) {
        Command1_Click();  // a cancelled Load still plots what the form holds
        return;
    }
    const std::string problem = load_composition(name);
    if (!problem.empty()) dialogs_.message(problem);
}

}  // namespace lumetra::window
