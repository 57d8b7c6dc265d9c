// Where source copies and destination folders go.
#include "SessionTestSupport.h"

#include "engine/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tikmeter::engine::testing {
namespace {

using documents::fromPath;

// Sets an environment variable for the length of a test, restoring the old value.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string* value) : name_(name) {
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

TEST(ProgramFolder, EnvironmentNamesItWithoutTrailingSeparator) {
    TempFolder home;
    const std::string value = home.path().string() + "/";
    ScopedEnvironment env("EDU_TIKMETER_HOME", &value);
    const ProgramFolder folder = resolveProgramFolder(u"/nonexistent/bin");
    EXPECT_EQ(folder.path, home.text());
    EXPECT_FALSE(folder.isHomeFallback);
}

TEST(ProgramFolder, MissingEnvironmentFolderIsCreated) {
    TempFolder parent;
    const std::string wanted = (parent / "a b" / "c").string();
    ScopedEnvironment env("EDU_TIKMETER_HOME", &wanted);
    const ProgramFolder folder = resolveProgramFolder(u"/nonexistent/bin");
    EXPECT_EQ(u8(folder.path), wanted);
    EXPECT_TRUE(fs::is_directory(wanted));
}

TEST(ProgramFolder, ExecutableFolderWithoutEnvironment) {
    TempFolder bin;
    ScopedEnvironment env("EDU_TIKMETER_HOME", nullptr);
    const ProgramFolder folder = resolveProgramFolder(bin.text());
    EXPECT_EQ(folder.path, bin.text());
    EXPECT_FALSE(folder.isHomeFallback);
}

// /proc refuses new files even to the superuser: the folder in the user's home takes
// over, and it is made only when first needed.
TEST(ProgramFolder, UnwritableFolderFallsBackToHome) {
    TempFolder home;
    const std::string homeText = home.path().string();
    ScopedEnvironment noHome("EDU_TIKMETER_HOME", nullptr);
    ScopedEnvironment userHome("HOME", &homeText);
    const ProgramFolder folder = resolveProgramFolder(u"/proc");
    EXPECT_TRUE(folder.isHomeFallback);
    EXPECT_EQ(folder.preferredPath, u"/proc");
    const fs::path expected = home / "Edu Tikmeter";
    EXPECT_EQ(folder.path, fromPath(expected));
    EXPECT_FALSE(fs::exists(expected));
    EXPECT_TRUE(folder.ensureExists());
    EXPECT_TRUE(canWriteIn(fromPath(expected)));
}

TEST(ProgramFolder, WriteProbeLeavesNothingBehind) {
    TempFolder dir;
    EXPECT_TRUE(canWriteIn(dir.text()));
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_FALSE(canWriteIn(fromPath(dir / "missing")));
}

} // namespace
} // namespace tikmeter::engine::testing
