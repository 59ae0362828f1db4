#pragma once

// Fixture and helpers for tests that run the Windows code through the fake
// seam, and a reader for what the log object appended to its file.

#include "tests/support/FakeSystem.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

inline HANDLE handleOf(std::uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

// Every test starts and ends with a fake that forwards everything and with
// the version answer forgotten.
class SystemTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    fake::System& system() { return fake::system(); }

    // GetModuleFileNameA answers path (which must fit) with its length.
    void answerModulePath(const std::string& path);
    // SHGetFolderPathA answers folder with S_OK; the token calls stay real.
    void answerFolderPath(const std::string& folder);
    // Every fopen is recorded ("path|mode") and then made for real.
    void recordFopen(std::vector<std::string>& calls);
};

// What the process's log object writes from now on: the messages of the
// lines appended after construction, each without its time stamp.
class LogCapture {
public:
    LogCapture();
    std::vector<std::string> messages() const;
    std::string appendedText() const;

private:
    std::string path_;
    std::uintmax_t start_;
};

// The real temporary folder, with its trailing backslash.
std::string realTempFolder();

}  // namespace testing_support
