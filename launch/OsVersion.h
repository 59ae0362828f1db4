#pragma once

#include <windows.h>

namespace dravik {

// The platform's version answer, requested once per process and shared by
// every OsVersion object.
class OsVersion {
public:
    OsVersion();

    bool queryVersion();
    bool isVistaOrLater() const;

    // Forgets the answer, so that tests can request it again.
    static void resetForTesting();

private:
    static bool filled_;
    static OSVERSIONINFOEXW versionInfo_;
};

}  // namespace dravik
