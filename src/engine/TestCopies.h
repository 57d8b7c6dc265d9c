#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tikmeter::engine {

// The files a session writes for one listed test in the destination folder.
struct TestFiles {
    std::u16string copy;       // the test's copy (the entry itself when it lies there)
    std::u16string markedTest; // its marked test, "<name>.rug"
};

// Decides the copy and the marked test of every listed test. A copy is destPath, "/", the
// entry's file name; a marked test is the copy's name without its last four characters,
// then ".rug". Names are compared without regard to case, as files from Windows shares
// often differ only in case. So that no student's file is written over another's:
//   - entries that lie in the destination folder (`liesInDestination`) keep their names;
//   - a later copy of a name already taken gets "jan (2).rtf", "jan (3).rtf", ...;
//   - a copy never takes the name of the result files ("Resultaat.res", "Resultaat.csv");
//   - a marked test never takes the name of a copy or of another test's marked test, and
//     is numbered the same way ("jan (2).rug").
// The same entry listed twice is one file with one copy and one marked test.
std::vector<TestFiles>
planTestFiles(const std::vector<std::u16string>& entries, const std::u16string& destPath,
              const std::function<bool(const std::u16string&)>& liesInDestination);

} // namespace tikmeter::engine
