#pragma once

// A fresh folder below the system's temporary folder for one test's files,
// removed again with everything in it when the object goes.

#include <cstddef>
#include <filesystem>
#include <string>

namespace testing_support {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes bytes to name (below the folder, parents created) and returns
    // the file's full path in the platform's own spelling.
    std::string write(const std::string& name, const std::string& bytes) const;

    // The full path of name below the folder, whether or not it exists.
    std::string pathOf(const std::string& name) const;

private:
    std::filesystem::path path_;
};

}  // namespace testing_support
