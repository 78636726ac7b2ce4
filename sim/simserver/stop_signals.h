// The signals that end simserver: SIGINT, SIGTERM, and SIGPIPE (a reader that went away, as in
// `simserver script | head`). Each only asks for the end; the game loop stops after the task
// that is running, so that the server can clean up.
#pragma once

namespace simserver {

void InstallStopSignals();
// True once a stop signal has come. Any thread.
bool StopRequested();

}  // namespace simserver
