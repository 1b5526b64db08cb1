#pragma once

// The threads of the update checks. Both calls belong to the UI thread.

// Starts CheckForUpdate on a new thread and returns at once; a check already running goes on.
void StartUpdateCheck();

// Waits for every check started so far while serving the UI thread, whose calls the checks are
// waiting for. The receiver of their reports must stay until this returns.
void WaitForUpdateChecks();
