#include "platform/CrtApi.h"

// Production forwarding: one call each, nothing else.
namespace sys {

FILE* fopen(const char* path, const char* mode) { return std::fopen(path, mode); }
int fclose(FILE* stream) { return std::fclose(stream); }
std::size_t fread(void* buffer, std::size_t size, std::size_t count, FILE* stream) {
    return std::fread(buffer, size, count, stream);
}
int fseek(FILE* stream, long offset, int origin) { return std::fseek(stream, offset, origin); }
int vsnprintf(char* buffer, std::size_t size, const char* format, va_list arguments) {
    return std::vsnprintf(buffer, size, format, arguments);
}

}  // namespace sys
