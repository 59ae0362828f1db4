#include "tests/support/TempFolder.h"

#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace testing_support {

namespace {

std::filesystem::path uniqueFolder() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    for (;;) {
        const std::filesystem::path candidate = base / ("dvk_unit_" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            return candidate;
        }
    }
}

}  // namespace

TempFolder::TempFolder() : path_(uniqueFolder()) {}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream) {
        throw std::runtime_error("cannot write " + file.string());
    }
    return file.string();
}

std::string TempFolder::pathOf(const std::string& name) const { return (path_ / name).string(); }

}  // namespace testing_support
