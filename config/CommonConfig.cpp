#include "config/CommonConfig.h"

#include <new>

namespace dravik {

CommonConfig::CommonConfig() : reader_(nullptr) {
    PathBuffer path;
    if (getCommonCfgPath(path)) {
        reader_ = new (std::nothrow) XmlConfig(path.get());
    }
}

CommonConfig::~CommonConfig() { delete reader_; }

}  // namespace dravik
