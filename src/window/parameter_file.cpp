// "Save" and "Load" of the sample composition.

#include <algorithm>
#include <string>

#include "common/numtext.h"
#include "io/file_io.h"
#include "io/parameter_format.h"
#include "window/radirido.h"

namespace lumetra::window {

void RADirido::Command5_Click() {
    if (Text1.text().empty() || !(text::Val(Text51.text()) >= 1e-16)) {
        dialogs_.message("insufficient parameter !");
        return;
    }
    io::Composition c;
    c.count = st.Elem_count;
    c.target_symbol = Text1.text();
    c.target_content = Text51.text();
    const int rows = std::min<int>(st.Elem_count, kRows);
    for (int i = 0; i < rows; ++i) c.rows.emplace_back(Text2[i]->text(), Text52[i]->text());
    if (st.Elem_count > kRows) c.count = kRows;

    bool ok = io::storable(c.target_symbol) && io::storable(c.target_content);
    for (const auto& row : c.rows) ok = ok && io::storable(row.first) && io::storable(row.second);
    if (!ok) {
        dialogs_.message(
            "A symbol or content holds a double quote or a line break and "
            "cannot be saved.");
        return;
    }

    // Load reads at most kMaxParameterFileSize bytes: never write a file it would refuse.
    const std::string bytes = io::format_parameters(c);
    if (bytes.size() > io::kMaxParameterFileSize) {
        dialogs_.message("The composition is too long to be saved (more than " +
                         std::to_string(io::kMaxParameterFileSize / 1024) + " KiB).");
        return;
    }

    const std::string name = dialogs_.save_file_name("sample1");
    if (name.empty()) return;  // cancelled
    const std::string problem = io::write_replacing(name, bytes);
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
