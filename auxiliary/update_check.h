#pragma once

#include <QString>
#include <chrono>

// "Check For Latest &Version..": asks the update server which version is the latest, reports
// each step to the history as a message row and offers the download when the server names
// another version than ours.

// How long a check waits while the server sends nothing before it reports a failed connection;
// a first line that trickles in gets three times as long.
inline constexpr std::chrono::milliseconds kUpdateCheckTimeout{10000};

// The server's base address, ending with "/": the REG_SZ "Update Server" under
// Software\Tamblewick when it is set, the address the build names otherwise.
QString UpdateServerAddress();

// The thread procedure: one check against UpdateServerAddress(). Always 0.
int CheckForUpdate();

// One check against `serverAddress` (ending with "/"), giving up after `timeout` of silence.
void RunUpdateCheck(const QString& serverAddress, std::chrono::milliseconds timeout);
