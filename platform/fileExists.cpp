#include "platform/CrtApi.h"
#include "platform/PathQueries.h"

namespace dravik {

bool fileExists(const char* path) {
    FILE* file = sys::fopen(path, "r");
    if (file == nullptr) {
        return false;
    }
    sys::fclose(file);
    return true;
}

}  // namespace dravik
