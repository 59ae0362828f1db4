#include "launch/Launch.h"

#include "config/InstallLocation.h"
#include "log/Logger.h"
#include "platform/PathBuffer.h"

namespace dravik {

namespace {

// "<path>" and, for a non-empty argument, a blank and the argument; false
// when the command line does not fit.
bool buildCommandLine(const PathBuffer& path, const char* argument, PathBuffer& out) {
    if (!(out.assign("\"") && out.append(path.get()) && out.append("\""))) {
        return false;
    }
    return argument[0] == '\0' || (out.append(" ") && out.append(argument));
}

}  // namespace

bool startMonitor(const char* argument) {
    Logger::instance()->log("[Dravik] Enter startMonitor()");
    PathBuffer monitorPath;
    if (!getMonitorAppPath(monitorPath)) {
        Logger::instance()->log("[Dravik] Failed to get the path of the monitor!");
        return false;
    }
    PathBuffer commandLine;
    bool started = false;
    if (buildCommandLine(monitorPath, argument, commandLine)) {
        Logger::instance()->log("[Dravik] Command line: %s", commandLine.get());
        started = runProgram(commandLine.data());
    }
    if (!started) {
        Logger::instance()->log("[Dravik] Failed to run the monitor!");
    }
    Logger::instance()->log("[Dravik] Leave startMonitor()");
    return started;
}

}  // namespace dravik
