#pragma once
// What every program of the project sets up when it starts, and how it ends its
// output.

namespace lumetra::common {

// A write beyond the file-size limit (ulimit -f) then fails with EFBIG, which the
// writers report like any other failed write (their temporary removed, the old
// file kept), instead of ending the process with SIGXFSZ.
void ignore_file_size_signal();

// Flushes standard output; false when it could not be written (a full disk,
// /dev/full, a closed pipe), so that the program can exit with a failure.
bool standard_output_written();

}  // namespace lumetra::common
