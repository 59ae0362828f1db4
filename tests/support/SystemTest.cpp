#include "tests/support/SystemTest.h"

#include "launch/OsVersion.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace testing_support {

void SystemTest::SetUp() {
    fake::reset();
    dravik::OsVersion::resetForTesting();
}

void SystemTest::TearDown() {
    fake::reset();
    dravik::OsVersion::resetForTesting();
}

void SystemTest::answerModulePath(const std::string& path) {
    system().GetModuleFileNameA = [path](HMODULE, LPSTR buffer, DWORD) {
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    };
}

void SystemTest::answerFolderPath(const std::string& folder) {
    system().SHGetFolderPathA = [folder](HWND, int, HANDLE, DWORD, LPSTR path) {
        std::memcpy(path, folder.c_str(), folder.size() + 1);
        return S_OK;
    };
}

void SystemTest::recordFopen(std::vector<std::string>& calls) {
    system().fopen = [&calls](const char* path, const char* mode) {
        calls.push_back(std::string(path) + "|" + mode);
        return std::fopen(path, mode);
    };
}

std::string realTempFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathA(sizeof buffer, buffer);
    return std::string(buffer, n);
}

namespace {

std::uintmax_t sizeOf(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

// "YYYY-MM-DD HH:MM:SS.mmm "
constexpr std::size_t kStampLength = 24;

}  // namespace

LogCapture::LogCapture() : path_(realTempFolder() + "__dvklog.txt"), start_(sizeOf(path_)) {}

std::string LogCapture::appendedText() const {
    std::ifstream file(path_, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(start_));
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> LogCapture::messages() const {
    std::vector<std::string> result;
    const std::string text = appendedText();
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        result.push_back(line.size() >= kStampLength ? line.substr(kStampLength) : line);
        at = end + 1;
    }
    return result;
}

}  // namespace testing_support
