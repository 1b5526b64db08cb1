#include "platform/terminal.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace platform::terminal {

namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

std::atomic<bool>* stopFlag = nullptr;
const char* interruptNotice = "";
std::atomic<bool> interrupted{false};

void OnInterrupt(int) {
    interrupted = true;
    if (stopFlag)
        *stopFlag = true;
    [[maybe_unused]] const auto written =
        ::write(STDERR_FILENO, interruptNotice, std::strlen(interruptNotice));
}

// Hides typed characters for as long as it lives. Input typed ahead is kept: a script may
// answer before the prompt is out.
class EchoOff {
public:
    EchoOff() {
        active_ = tcgetattr(STDIN_FILENO, &saved_) == 0;
        if (!active_)
            return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    ~EchoOff() {
        if (active_)
            tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};

// Waits for input in short steps, so an interrupt is seen whichever thread the signal hit.
bool WaitForInput() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (!interrupted) {
        const int ready = poll(&input, 1, 100);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}

} // namespace

bool IsTerminal(Stream stream) {
    return isatty(static_cast<int>(stream)) == 1;
}

int Columns() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

void Write(Stream stream, std::string_view bytes) {
    const int descriptor = static_cast<int>(stream);
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::optional<std::string> ReadLine(std::string_view prompt, bool echo) {
    std::optional<EchoOff> hidden;
    if (!echo && IsTerminal(Stream::Input))
        hidden.emplace();
    Write(Stream::Error, prompt);
    std::string line;
    for (;;) {
        if (!WaitForInput())
            return std::nullopt;
        char byte = 0;
        const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return line.empty() ? std::nullopt : std::optional(line);
        if (byte == '\n')
            break;
        line += byte;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

void StopOnInterrupt(std::atomic<bool>& stop, const char* notice) {
    stopFlag = &stop;
    interruptNotice = notice;
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() {
    return interrupted;
}

} // namespace platform::terminal
