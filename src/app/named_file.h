#pragma once
// Opening a file named on the command line: as the File menu's Load setup or Load
// would, with the same message when it cannot.

#include <string>

#include "app/command_line.h"
#include "common/dialogs.h"
#include "io/file_io.h"
#include "planning/planner.h"

namespace lumetra::app {

// The file is read once to tell its kind; what is not a plain file (a pipe, a
// device, a folder) is refused at once, without waiting for a writer.
inline void open_named_file(planning::Planner& planner, common::Dialogs& dialogs,
                            const std::string& path) {
    const io::FileBytes head = io::read_small_file(path, 4096);
    if (!head.bytes) {
        dialogs.titled_message("Open file", head.problem);
        return;
    }
    if (file_kind(head.bytes, path) == FileKind::setup) {
        const std::string problem = planner.load_setup(path);
        if (!problem.empty()) dialogs.titled_message("Load setup", problem);
    } else {
        const std::string problem = planner.form().load_composition(path);
        if (!problem.empty()) dialogs.message(problem);
    }
}

}  // namespace lumetra::app
