// Loads arbitrary bytes as an XML file and looks up the system's own keys and
// keys made from the input, through the same reader the launcher uses.
#include "config/XmlConfig.h"
#include "platform/PathBuffer.h"

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

const std::string& scratchPath() {
    static const std::string path = "/tmp/dravik-fuzz-" + std::to_string(getpid()) + ".xml";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FILE* file = std::fopen(scratchPath().c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const dravik::XmlConfig config(scratchPath().c_str());
    dravik::PathBuffer path;
    dravik::StackString<256> name;
    dravik::StackString<8> small;
    config.getValue("CommonCfg.InstallPathRecordFileRelativePath", path);
    config.getValue("CommonCfg.MonitorName", name);
    config.getValue("RQInstallationPath", path);
    config.getValue("RQInstallationPath", small);
    // The first bytes, up to a NUL, as a key of their own.
    const std::string key(reinterpret_cast<const char*>(data), size < 300 ? size : 300);
    config.getValue(key.c_str(), path);
    return 0;
}
