#pragma once

namespace torvi::cli {

// SIGINT, SIGTERM and SIGHUP ask the run to stop, as the desktop program's
// Cancel does: the current randomisation ends, the sections written stay
// whole and the seeds reached are saved. A second signal ends the program at
// once. SIGXFSZ is ignored, so that a file-size limit is reported as a
// failed write instead of killing the program.
void install_stop_signals();

// True once a stop signal has arrived.
bool stop_signalled();

}  // namespace torvi::cli
