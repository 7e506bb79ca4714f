// Opening a composition file: the whole file is checked first, then it replaces the
// target and the matrix and the spectrum is plotted ("Load", or a file named on the
// command line).

#include <cstdint>
#include <optional>
#include <string>

#include "io/file_io.h"
#include "io/parameter_format.h"
#include "window/radirido.h"

namespace lumetra::window {

std::string RADirido::load_composition(const std::string& path) {
    const io::FileBytes file = io::read_small_file(path, io::kMaxParameterFileSize);
    if (!file.bytes) return file.problem;
    const io::ParseResult parsed = io::parse_parameters(*file.bytes);
    if (!parsed.composition) return parsed.error + " (" + path + ")";
    const io::Composition& c = *parsed.composition;
    Command3_Click();
    Text1.set_text(c.target_symbol);
    Text51.set_text(c.target_content);
    Text1.set_visible(true);
    Text51.set_visible(true);
    for (int i = 1; i <= c.count; ++i) {
        Text2[i - 1]->set_text(c.rows[i - 1].first);
        Text52[i - 1]->set_text(c.rows[i - 1].second);
        Text2[i - 1]->set_visible(true);
        Text52[i - 1]->set_visible(true);
    }
    // Any negative count means no rows: the editor's own value for that is -10.
    st.Elem_count = static_cast<std::int16_t>(c.count < 0 ? -10 : c.count);
    Command1_Click();
    return {};
}

}  // namespace lumetra::window
