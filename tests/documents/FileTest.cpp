#include "TestSupport.h"
#include "documents/DocumentError.h"
#include "documents/FileIo.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace tikmeter::documents {
namespace {

namespace fs = std::filesystem;

class DocumentFiles : public ::testing::Test {
protected:
    static DocumentErrorKind loadError(const fs::path& path) {
        try {
            Document document;
            document.loadFile(path);
        } catch (const DocumentError& error) {
            return error.kind();
        }
        ADD_FAILURE() << "no error for " << path;
        return DocumentErrorKind::Other;
    }
    static DocumentErrorKind saveError(const Document& document, const fs::path& path) {
        try {
            document.saveFile(path);
        } catch (const DocumentError& error) {
            return error.kind();
        }
        ADD_FAILURE() << "no error for " << path;
        return DocumentErrorKind::Other;
    }
    std::size_t entries() const { return temporary_.entries(); }
    test::TemporaryFolder temporary_;
    const fs::path& folder_ = temporary_.path();
};

TEST_F(DocumentFiles, SaveAndLoad) {
    Document document;
    document.setText(u"caf\u00E9\r\nline");
    const fs::path path = folder_ / "test.rtf";
    document.saveFile(path);
    EXPECT_EQ(test::readBytes(path), document.rtf());
    Document loaded;
    loaded.loadFile(path);
    EXPECT_EQ(loaded.text(), document.text());
    EXPECT_EQ(entries(), 1u); // no temporary file left behind
}

TEST_F(DocumentFiles, SaveReplacesAnExistingFileWhole) {
    const fs::path path = folder_ / "test.rtf";
    {
        std::ofstream out(path, std::ios::binary);
        out << std::string(100000, 'x');
    }
    Document document;
    document.setText(u"short");
    document.saveFile(path);
    EXPECT_EQ(test::readBytes(path), document.rtf());
    EXPECT_EQ(entries(), 1u);
}

TEST_F(DocumentFiles, MissingFileOrFolderIsNotFound) {
    EXPECT_EQ(loadError(folder_ / "missing.rtf"), DocumentErrorKind::NotFound);
    EXPECT_EQ(loadError(folder_ / "no" / "such.rtf"), DocumentErrorKind::NotFound);
    Document document;
    EXPECT_EQ(saveError(document, folder_ / "no" / "such.rtf"), DocumentErrorKind::NotFound);
    // A file used as a folder.
    document.saveFile(folder_ / "file");
    EXPECT_EQ(loadError(folder_ / "file" / "x.rtf"), DocumentErrorKind::NotFound);
}

TEST_F(DocumentFiles, UnreadableContent) {
    const fs::path path = folder_ / "bin.rtf";
    {
        std::ofstream out(path, std::ios::binary);
        out << "{\\rtf1 x\\bin1000 }";
    }
    EXPECT_EQ(loadError(path), DocumentErrorKind::Unreadable);
    try {
        Document document;
        document.loadFile(path);
    } catch (const DocumentError& error) {
        EXPECT_NE(std::string(error.what()).find("bin.rtf"), std::string::npos);
    }
}

TEST_F(DocumentFiles, AFolderIsNotADocument) {
    EXPECT_EQ(loadError(folder_), DocumentErrorKind::NotRegularFile);
    Document document;
    EXPECT_EQ(saveError(document, folder_), DocumentErrorKind::NotRegularFile);
}

TEST_F(DocumentFiles, ReadOnlyFileAndFolderArePermissionDenied) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root ignores file permissions";
    }
    const fs::path path = folder_ / "locked.rtf";
    Document document;
    document.setText(u"old");
    document.saveFile(path);
    fs::permissions(path, fs::perms::owner_read, fs::perm_options::replace);
    document.setText(u"new");
    EXPECT_EQ(saveError(document, path), DocumentErrorKind::PermissionDenied);
    Document loaded;
    loaded.loadFile(path);
    EXPECT_EQ(loaded.text(), u"old"); // untouched

    fs::permissions(path, fs::perms::none, fs::perm_options::replace);
    EXPECT_EQ(loadError(path), DocumentErrorKind::PermissionDenied);

    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec,
                    fs::perm_options::replace);
    EXPECT_EQ(saveError(document, folder_ / "new.rtf"), DocumentErrorKind::PermissionDenied);
}

TEST(DocumentErrorKinds, SystemErrorsMapOntoKinds) {
    const std::pair<int, DocumentErrorKind> rows[] = {
        {ENOENT, DocumentErrorKind::NotFound},
        {ENOTDIR, DocumentErrorKind::NotFound},
        {EACCES, DocumentErrorKind::PermissionDenied},
        {EPERM, DocumentErrorKind::PermissionDenied},
        {EROFS, DocumentErrorKind::WriteProtected},
        {ENOSPC, DocumentErrorKind::DiskFull},
        {EDQUOT, DocumentErrorKind::DiskFull},
        {EISDIR, DocumentErrorKind::NotRegularFile},
        {EIO, DocumentErrorKind::Other},
    };
    for (const auto& [error, kind] : rows) {
        EXPECT_EQ(documentErrorKindFor(error), kind) << std::strerror(error);
    }
}

} // namespace
} // namespace tikmeter::documents
