#pragma once

// `tamblewick --batch`, `--help` and `--version`: the same worker, engines, libraries and
// settings as the window, without one. Needs no display.
bool WantsBatchMode(int argc, char** argv);

// Runs the whole program in that mode and returns its exit status.
int RunBatchMode(int argc, char** argv);
