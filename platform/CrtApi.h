#pragma once

// The C run-time calls the program makes, behind the same kind of seam as
// Win32Api.h. Free of <windows.h>, so that the portable code can be built
// and tested on any host.

#include <cstdarg>
#include <cstddef>
#include <cstdio>

namespace sys {

FILE* fopen(const char* path, const char* mode);
int fclose(FILE* stream);
std::size_t fread(void* buffer, std::size_t size, std::size_t count, FILE* stream);
int fseek(FILE* stream, long offset, int origin);
int vsnprintf(char* buffer, std::size_t size, const char* format, va_list arguments);

}  // namespace sys
