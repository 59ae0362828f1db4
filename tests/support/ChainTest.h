#pragma once

// A fixture for the install-location chain: the executable "lives" in one
// temporary folder (where a Common.cfg may be written) and the shell's
// common application data folder is another; every fopen is recorded.

#include "tests/support/SystemTest.h"
#include "tests/support/TempFolder.h"

#include <string>
#include <vector>

namespace testing_support {

class ChainTest : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        answerModulePath(exeFolder.pathOf("Dravik.exe"));
        answerFolderPath(appData.path().string());
        recordFopen(opened);
    }

    // The record file at the default place, naming installFolder.
    std::string writeRecord(const std::string& installFolder) {
        return appData.write("Pelmo/RQ/InstallPath/RQInstallationPath.xml",
                             "<RQInstallationPath>" + installFolder + "</RQInstallationPath>");
    }

    std::string writeCommonCfg(const std::string& settings) {
        return exeFolder.write("Common.cfg", "<CommonCfg>" + settings + "</CommonCfg>");
    }

    std::string recordPath() const {
        return appData.path().string() + "\\Pelmo\\RQ\\InstallPath\\RQInstallationPath.xml";
    }
    std::string commonCfgPath() const { return exeFolder.pathOf("Common.cfg"); }

    TempFolder exeFolder;
    TempFolder appData;
    std::vector<std::string> opened;  // "path|mode"
};

}  // namespace testing_support
