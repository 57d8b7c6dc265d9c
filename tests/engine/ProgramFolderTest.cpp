// Where source copies and destination folders go.
#include "SessionTestSupport.h"

#include "engine/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <optional>

namespace tikmeter::engine::testing {
namespace {

// Sets an environment variable until the end of the scope, then restores the old value.
auto scopedEnvironment(const char* name, const std::optional<std::string>& value) {
    const char* now = std::getenv(name);
    std::shared_ptr<const char> restore(
        name, [old = now ? std::optional<std::string>(now) : std::nullopt](const char* variable) {
            old ? ::setenv(variable, old->c_str(), 1) : ::unsetenv(variable);
        });
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    return restore;
}

// The environment wins (created when missing, trailing separator dropped); else the
// executable's folder; a folder that refuses files (/proc, even to the superuser) gives
// way to "Edu Tikmeter" in the home folder, which is made only when first needed. So does a
// folder under /usr, even one the superuser (as these tests run in CI) could write.
TEST(ProgramFolderRule, ChoosesTheFolder) {
    // Each row: EDU_TIKMETER_HOME and the executable's folder (below the temporary folder
    // unless absolute), the folder chosen (below it), whether that is the fallback in the
    // home folder and whether the executable's folder was passed over as under /usr.
    // clang-format off
    using Environment = std::optional<std::string>;
    const std::tuple<const char*, Environment, std::string, std::string, bool, bool> cases[] = {
        {"environment", "/home/", "/nonexistent", "/home", false, false},
        {"environment created", "/a b/c", "/nonexistent", "/a b/c", false, false},
        {"executable folder", std::nullopt, "", "", false, false},
        {"unwritable falls back to home", std::nullopt, "/proc", "/Edu Tikmeter", true, false},
        {"/usr falls back to home", std::nullopt, "/usr/bin", "/Edu Tikmeter", true, true},
        {"/usr itself", std::nullopt, "/usr/", "/Edu Tikmeter", true, true},
        {"a lookalike of /usr", std::nullopt, "/usrx/bin", "/Edu Tikmeter", true, false},
        {"the environment beats /usr", "/home", "/usr/bin", "/home", false, false}};
    // clang-format on
    for (const auto& [name, environment, executable, expected, fallback, system] : cases) {
        SCOPED_TRACE(name);
        TempFolder temp;
        const std::string root = temp.path().string();
        const auto home = scopedEnvironment("HOME", root);
        const auto env = scopedEnvironment(
            "EDU_TIKMETER_HOME", environment ? std::optional(root + *environment) : std::nullopt);
        const ProgramFolder folder =
            resolveProgramFolder(u16(executable.starts_with("/") ? executable : root + executable));
        EXPECT_EQ(folder.path, u16(root + expected));
        EXPECT_EQ(folder.isHomeFallback, fallback);
        EXPECT_EQ(folder.isSystemFolder, system);
        EXPECT_EQ(fs::exists(root + expected), !fallback);
        EXPECT_TRUE(folder.ensureExists());
    }
}

// The guides come from beside the executable, else from the installed share folder; a guide
// already in the program folder is never replaced, and no guide anywhere is no failure.
TEST(GuideCopy, FillsOnlyWhatIsMissing) {
    // Each row: the guides in <prefix>/bin, in <prefix>/share/edu-tikmeter and already in the
    // program folder ("A"/"E" the Afrikaans and English guide, "a"/"e" a copy the teacher
    // changed), then what the program folder holds afterwards.
    // clang-format off
    const std::tuple<const char*, std::string, std::string, std::string, std::string> cases[] = {
        {"beside the executable", "AE", "", "", "Abin Ebin "},
        {"installed share", "", "AE", "", "Aedu-tikmeter Eedu-tikmeter "},
        {"beside the executable first", "AE", "AE", "", "Abin Ebin "},
        {"each from where it is", "A", "E", "", "Abin Eedu-tikmeter "},
        {"changed guide kept", "AE", "", "e", "Abin ehome "},
        {"both kept", "AE", "AE", "ae", "ahome ehome "},
        {"no guides anywhere", "", "", "", "- - "}};
    // clang-format on
    const auto place = [](const fs::path& folder, const std::string& which) {
        for (const char c : which) {
            fs::create_directories(folder);
            const bool english = std::tolower(c) == 'e';
            writeBytes(folder / documents::toUtf8(kGuideNames[english ? 1 : 0]),
                       std::string(1, c) + folder.filename().string());
        }
    };
    for (const auto& [name, besideExecutable, inShare, inProgramFolder, expected] : cases) {
        SCOPED_TRACE(name);
        TempFolder temp;
        const fs::path bin = temp / "prefix" / "bin";
        const fs::path home = temp / "home";
        place(bin, besideExecutable);
        place(temp / "prefix" / "share" / "edu-tikmeter", inShare);
        place(home, inProgramFolder);
        const auto env = scopedEnvironment("EDU_TIKMETER_HOME", home.string());
        const ProgramFolder folder = resolveProgramFolder(u16(bin));
        ASSERT_EQ(folder.path, u16(home));
        folder.provideGuides();
        folder.provideGuides(); // a second call changes nothing
        std::string found;
        for (const std::u16string_view guide : kGuideNames) {
            const fs::path path = home / documents::toUtf8(guide);
            found += fs::exists(path) ? readBytes(path) + " " : "- ";
        }
        EXPECT_EQ(found, expected);
        for (const auto& entry : fs::directory_iterator(home)) {
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
        }
    }
}

// The write probe leaves nothing behind.
TEST(GuideCopy, ProbeLeavesTheProgramFolderAsItWas) {
    TempFolder temp;
    EXPECT_TRUE(canWriteIn(u16(temp.path())));
    EXPECT_TRUE(fs::is_empty(temp.path()));
    EXPECT_FALSE(canWriteIn(u16(temp / "missing")));
}

} // namespace
} // namespace tikmeter::engine::testing
