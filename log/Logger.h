#pragma once

#include <fstream>

namespace dravik {

extern const char* const kLevelDebug;
extern const char* const kLevelWarning;

// The process-wide diagnostics log. Its one instance is a static object, so
// the log file is opened before WinMain runs and closed at process exit.
class Logger {
public:
    Logger();
    ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    static Logger* instance();

    // printf-style, with at most one "%s". The shipped build writes nothing;
    // a build with DRAVIK_WRITE_LOG writes one time-stamped line per call.
    void log(const char* format, ...);

private:
    std::ofstream stream_;
};

}  // namespace dravik
