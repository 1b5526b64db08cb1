#pragma once

// Loads the three libraries at window start, in the order ACE, RAR, ZIP; each one that fails
// is named in a message box, and every run then refuses to start. Runs on the UI thread.
void LoadEngines();
// Releases them at close, in the order ACE, ZIP, RAR.
void UnloadEngines();
