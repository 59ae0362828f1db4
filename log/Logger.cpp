#include "log/Logger.h"

#include "platform/PathBuffer.h"
#include "platform/PathQueries.h"
#include "platform/PathStrings.h"

#ifdef DRAVIK_WRITE_LOG
#include "platform/CrtApi.h"
#include "platform/Win32Api.h"

#include <cstdarg>
#endif

namespace dravik {

const char* const kLevelDebug = "DEBUG";
const char* const kLevelWarning = "WARNING";

namespace {

Logger theLogger;

}  // namespace

Logger::Logger() {
    PathBuffer path;
    getTempDirectory(path);
    // A folder too long for the name stays without a log rather than
    // opening a shortened path.
    if (appendBackslash(path) && path.append("__dvklog.txt")) {
        stream_.open(path.get(), std::ios_base::out | std::ios_base::app);
    }
}

Logger::~Logger() { stream_.close(); }

Logger* Logger::instance() { return &theLogger; }

#ifdef DRAVIK_WRITE_LOG

namespace {

// True when the whole text fitted.
bool formatList(char* buffer, std::size_t size, const char* format, va_list arguments) {
    const int n = sys::vsnprintf(buffer, size, format, arguments);
    return n >= 0 && static_cast<std::size_t>(n) < size;
}

bool formatText(char* buffer, std::size_t size, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const bool fitted = formatList(buffer, size, format, arguments);
    va_end(arguments);
    return fitted;
}

}  // namespace

void Logger::log(const char* format, ...) {
    SYSTEMTIME now;
    sys::GetLocalTime(&now);
    char stamp[32];
    char message[1024];
    va_list arguments;
    va_start(arguments, format);
    const bool messageFitted = formatList(message, sizeof message, format, arguments);
    va_end(arguments);
    // A line that would not fit is dropped whole, never cut.
    if (!messageFitted ||
        !formatText(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear,
                    now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds)) {
        return;
    }
    stream_ << stamp << ' ' << message << '\n';
    stream_.flush();
}

#else

void Logger::log(const char* /*format*/, ...) {}

#endif

}  // namespace dravik
