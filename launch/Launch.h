#pragma once

namespace dravik {

// The whole run: the setup program, then, after its success, the monitor.
// Returns the process exit code.
int runLaunchSequence();

// Runs Tolmer.exe from the executable's folder and waits for it; true when
// it ended with exit code 0.
bool startTolmer();

// Starts file through the shell and waits for it. The exit code, or -1 (not
// started), -2 (wait failed), -3 (exit code unreadable).
int shellExecuteAndWait(const char* file, const char* parameters);

// Starts the monitor with argument, without waiting.
bool startMonitor(const char* argument);

// Starts commandLine as an independent process.
bool runProgram(char* commandLine);

}  // namespace dravik
