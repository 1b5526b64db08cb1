#pragma once

// True when the program can open a window: a display is named, or a Qt platform was chosen.
bool DisplayAvailable();
