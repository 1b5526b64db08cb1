#include "extract/run_state.h"

std::atomic<bool> RunInProgress{false};
std::atomic<bool> StopRequested{false};
