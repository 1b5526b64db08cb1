#pragma once

class RunHost;

// Extracts every listed archive into the destination the settings choose, one after the
// other, then ends the run. Runs on a worker thread of its own; RunInProgress must already be
// set by whoever started it, and is cleared here.
void ExtractionWorker(RunHost& host);
