#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

// The standard streams and the terminal behind them, for the window-less front end.
namespace platform::terminal {

enum class Stream { Input = 0, Output = 1, Error = 2 };

bool IsTerminal(Stream stream);

// The width of the terminal on standard error; 80 when it cannot be told.
int Columns();

// Writes the bytes as they are and flushes, so a pipe reader sees them at once.
void Write(Stream stream, std::string_view bytes);

// Writes `prompt` to standard error and reads one line from standard input without its line
// end; nothing at end of input or when an interrupt arrived while waiting. Unbuffered, so each
// call takes exactly one line of a pipe. `echo` false hides what is typed on a terminal.
std::optional<std::string> ReadLine(std::string_view prompt, bool echo);

// The first Ctrl+C sets `stop`, writes `notice` to standard error and makes Interrupted() true;
// the next one ends the program as usual. Both must outlive the program's run.
void StopOnInterrupt(std::atomic<bool>& stop, const char* notice);
bool Interrupted();

} // namespace platform::terminal
