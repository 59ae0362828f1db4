#include "launch/OsVersion.h"

#include "platform/Win32Api.h"

#include <cstring>

namespace dravik {

bool OsVersion::filled_ = false;
OSVERSIONINFOEXW OsVersion::versionInfo_ = {};

OsVersion::OsVersion() {
    if (!filled_) {
        queryVersion();
    }
}

bool OsVersion::queryVersion() {
    std::memset(&versionInfo_, 0, sizeof versionInfo_);
    versionInfo_.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    if (!sys::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&versionInfo_))) {
        return false;
    }
    filled_ = true;
    // Systems before NT 5 do not know the extended record.
    if (versionInfo_.dwPlatformId != VER_PLATFORM_WIN32_NT || versionInfo_.dwMajorVersion < 5) {
        return true;
    }
    std::memset(&versionInfo_, 0, sizeof versionInfo_);
    versionInfo_.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
    return sys::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&versionInfo_)) != FALSE;
}

bool OsVersion::isVistaOrLater() const {
    return versionInfo_.dwPlatformId == VER_PLATFORM_WIN32_NT && versionInfo_.dwMajorVersion >= 6;
}

void OsVersion::resetForTesting() {
    filled_ = false;
    std::memset(&versionInfo_, 0, sizeof versionInfo_);
}

}  // namespace dravik
