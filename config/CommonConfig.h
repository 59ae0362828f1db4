#pragma once

#include "config/XmlConfig.h"
#include "platform/PathBuffer.h"

#include <cstddef>

namespace dravik {

// Path of Common.cfg beside the executable; true when the file exists.
bool getCommonCfgPath(PathBuffer& out);

// The optional Common.cfg, read at construction for one lookup.
class CommonConfig {
public:
    CommonConfig();
    ~CommonConfig();
    CommonConfig(const CommonConfig&) = delete;
    CommonConfig& operator=(const CommonConfig&) = delete;

    template <std::size_t Capacity>
    bool getValue(const char* key, StackString<Capacity>& out) const {
        return reader_ != nullptr && reader_->getValue(key, out);
    }

private:
    XmlConfig* reader_;
};

}  // namespace dravik
