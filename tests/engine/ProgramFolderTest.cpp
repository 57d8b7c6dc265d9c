// Where source copies and destination folders go.
#include "SessionTestSupport.h"

#include "engine/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tikmeter::engine::testing {
namespace {

// Sets an environment variable for the length of a test, restoring the old value.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

struct FolderCase {
    const char* name;
    std::optional<std::string> environment; // EDU_TIKMETER_HOME below the temporary folder
    std::string executableFolder;           // "" = the temporary folder itself
    std::string expected;                   // below the temporary folder
    bool fallback;
    bool system = false; // the executable's folder is not used because it lies under /usr
};

void PrintTo(const FolderCase& value, std::ostream* out) {
    *out << value.name;
}

class ProgramFolderRule : public ::testing::TestWithParam<FolderCase> {};

// The environment wins (created when missing, trailing separator dropped); else the
// executable's folder; a folder that refuses files (/proc, even to the superuser) gives
// way to "Edu Tikmeter" in the home folder, which is made only when first needed. So does a
// folder under /usr, even one the superuser (as these tests run in CI) could write.
TEST_P(ProgramFolderRule, ChoosesTheFolder) {
    const FolderCase& rule = GetParam();
    TempFolder temp;
    const std::string root = temp.path().string();
    ScopedEnvironment home("HOME", root);
    ScopedEnvironment env("EDU_TIKMETER_HOME", rule.environment
                                                   ? std::optional(root + *rule.environment)
                                                   : std::nullopt);
    const std::string exe = rule.executableFolder.starts_with("/") ? rule.executableFolder
                                                                   : root + rule.executableFolder;
    const ProgramFolder folder = resolveProgramFolder(u16(exe));
    EXPECT_EQ(folder.path, u16(root + rule.expected));
    EXPECT_EQ(folder.isHomeFallback, rule.fallback);
    EXPECT_EQ(folder.isSystemFolder, rule.system);
    EXPECT_EQ(fs::exists(root + rule.expected), !rule.fallback);
    EXPECT_TRUE(folder.ensureExists());
    EXPECT_TRUE(canWriteIn(folder.path));
    EXPECT_FALSE(fs::exists(root + rule.expected + "/.edu-tikmeter-probe"));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProgramFolderRule,
    ::testing::Values(
        FolderCase{"Environment", "/home/", "/nonexistent", "/home", false},
        FolderCase{"EnvironmentCreated", "/a b/c", "/nonexistent", "/a b/c", false},
        FolderCase{"ExecutableFolder", std::nullopt, "", "", false},
        FolderCase{"UnwritableFallsBackToHome", std::nullopt, "/proc", "/Edu Tikmeter", true},
        FolderCase{"UsrFallsBackToHome", std::nullopt, "/usr/bin", "/Edu Tikmeter", true, true},
        FolderCase{"UsrItself", std::nullopt, "/usr/", "/Edu Tikmeter", true, true},
        FolderCase{"UsrLookalikeIsNoSystemFolder", std::nullopt, "/usrx/bin", "/Edu Tikmeter", true,
                   false},
        FolderCase{"EnvironmentBeatsUsr", "/home", "/usr/bin", "/home", false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ProgramFolder, WriteProbeLeavesNothingBehind) {
    TempFolder dir;
    EXPECT_TRUE(canWriteIn(u16(dir.path())));
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_FALSE(canWriteIn(u16(dir / "missing")));
}

} // namespace
} // namespace tikmeter::engine::testing
