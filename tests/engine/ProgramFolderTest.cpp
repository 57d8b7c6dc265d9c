// Where source copies and destination folders go.
#include "SessionTestSupport.h"

#include "engine/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cctype>
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

// Where guides lie before the program folder is provided for: "A"/"E" name the Afrikaans
// and English guide, "a"/"e" a copy that the teacher changed.
struct GuideCase {
    const char* name;
    std::string besideExecutable; // guides in <prefix>/bin
    std::string inShare;          // guides in <prefix>/share/edu-tikmeter
    std::string inProgramFolder;  // already in the program folder
    std::string expected;         // in the program folder afterwards
};

class GuideCopy : public ::testing::TestWithParam<GuideCase> {};

// The guides come from beside the executable, else from the installed share folder; a guide
// already in the program folder is never replaced, and no guide anywhere is no failure.
TEST_P(GuideCopy, FillsOnlyWhatIsMissing) {
    const GuideCase& rule = GetParam();
    TempFolder temp;
    const fs::path bin = temp / "prefix" / "bin";
    const fs::path share = temp / "prefix" / "share" / "edu-tikmeter";
    const fs::path home = temp / "home";
    const auto place = [](const fs::path& folder, const std::string& which) {
        for (const char c : which) {
            fs::create_directories(folder);
            const bool english = std::tolower(c) == 'e';
            writeBytes(folder / documents::toUtf8(kGuideNames[english ? 1 : 0]),
                       std::string(1, c) + folder.filename().string());
        }
    };
    place(bin, rule.besideExecutable);
    place(share, rule.inShare);
    place(home, rule.inProgramFolder);
    const ScopedEnvironment env("EDU_TIKMETER_HOME", home.string());
    const ProgramFolder folder = resolveProgramFolder(u16(bin));
    ASSERT_EQ(folder.path, u16(home));
    folder.provideGuides();
    folder.provideGuides(); // a second call changes nothing
    std::string found;
    for (const std::u16string_view name : kGuideNames) {
        const fs::path guide = home / documents::toUtf8(name);
        found += fs::exists(guide) ? readBytes(guide) + " " : "- ";
    }
    EXPECT_EQ(found, rule.expected);
    for (const auto& entry : fs::directory_iterator(home)) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, GuideCopy,
    ::testing::Values(GuideCase{"BesideExecutable", "AE", "", "", "Abin Ebin "},
                      GuideCase{"InstalledShare", "", "AE", "", "Aedu-tikmeter Eedu-tikmeter "},
                      GuideCase{"BesideExecutableFirst", "AE", "AE", "", "Abin Ebin "},
                      GuideCase{"EachFromWhereItIs", "A", "E", "", "Abin Eedu-tikmeter "},
                      GuideCase{"ChangedGuideKept", "AE", "", "e", "Abin ehome "},
                      GuideCase{"BothKept", "AE", "AE", "ae", "ahome ehome "},
                      GuideCase{"NoGuidesAnywhere", "", "", "", "- - "}),
    [](const auto& param) { return std::string(param.param.name); });

// The write probe leaves nothing behind; a guide's name taken by a folder is left alone.
TEST(GuideCopy, ProbeAndTakenNamesLeaveTheProgramFolderAsItWas) {
    TempFolder temp;
    EXPECT_TRUE(canWriteIn(u16(temp.path())));
    EXPECT_TRUE(fs::is_empty(temp.path()));
    EXPECT_FALSE(canWriteIn(u16(temp / "missing")));
    fs::create_directories(temp / "data");
    writeBytes(temp / "data" / documents::toUtf8(kGuideNames[0]), "guide");
    writeBytes(temp / "data" / documents::toUtf8(kGuideNames[1]), "guide");
    fs::create_directories(temp / "program" / documents::toUtf8(kGuideNames[0]));
    EXPECT_EQ(copyMissingGuides(u16(temp / "data"), u16(temp / "program")), 1u);
    EXPECT_TRUE(fs::is_directory(temp / "program" / documents::toUtf8(kGuideNames[0])));
    EXPECT_EQ(copyMissingGuides(u16(temp / "missing"), u16(temp / "program")), 0u);
}

} // namespace
} // namespace tikmeter::engine::testing
