#pragma once

#include <atomic>

// A run is under way; set by whoever starts the extraction worker, cleared by the worker.
extern std::atomic<bool> RunInProgress;
// The user pressed Stop; cleared only when the next run starts.
extern std::atomic<bool> StopRequested;
