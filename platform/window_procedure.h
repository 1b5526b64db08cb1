#pragma once

#include <cstdint>

namespace platform {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A receiver of window messages: the main window, or a window-less front end that wants the
// same reports.
class WindowProcedure {
public:
    virtual LRESULT WindowProc(unsigned message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~WindowProcedure() = default;
};

// SendMessage: handled on the UI thread while the caller waits; ordered like the calls.
LRESULT SendWindowMessage(WindowProcedure& receiver, unsigned message, WPARAM wParam,
                          LPARAM lParam);

} // namespace platform
