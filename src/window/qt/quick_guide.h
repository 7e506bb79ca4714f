#pragma once
// The quick guide: one HTML page compiled into the program, shown by Help > Quick
// guide (F1) and printed by `lumetra --quick-guide`.

#include <QString>

namespace lumetra::window::qt {

// The page as HTML; empty only if the program was built without it.
QString quick_guide_html();

// The page as plain text for a terminal: paragraphs and list items on lines of
// their own, without the markup.
QString quick_guide_text();

}  // namespace lumetra::window::qt
