// The setup log: one UTF-8 file in the temporary folder that every run appends to.
#pragma once

#include <string>

namespace gls {

struct Env;

// Opens "Glimmerline-Setup.log" in the temporary folder and writes the run's banner. Does nothing
// when the log is open already or no temporary folder is known; a log that cannot be opened
// stays closed and the run goes on without it.
void openLog(const Env& env, const wchar_t* modeWord);

// Appends one line with its time prefix. Safe from any thread; does nothing while the log is closed.
void logLine(const wchar_t* format, ...);

// Logs the exception being handled as one that stopped the work; only inside a catch block.
void logCaughtException();

// The log file's path for an environment, empty when there is no temporary folder.
std::wstring logFilePath(const Env& env);

} // namespace gls
