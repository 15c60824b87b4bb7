#include "tools/package/PatchPackage.h"

#include "SharedCode6/Util/uUtilites.h"
#include "platform/zip/Reader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using patchpackage::BuildPackage;
using patchpackage::BuildPlainZip;
using pr::zip::Reader;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

using Contents = std::vector<std::pair<std::string, std::string>>;

// Every entry of a package opened with the archive password of secret.
Contents Unpack(const std::string& package, const std::string& secret) {
    Reader reader = Reader::OpenMemory(package);
    reader.SetPassword(MakeArchivePassword(secret));
    Contents contents;
    for (const pr::zip::Entry& entry : reader.Entries()) {
        EXPECT_TRUE(entry.encrypted) << entry.name;
        contents.emplace_back(entry.name, reader.Read(entry.index));
    }
    return contents;
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const pr::Error& e) {
        return e.what();
    }
    return "no error";
}

TEST(PatchPackage, FromAFolderEncryptsEveryFileUnderItsRelativePath) {
    TempDir dir;
    const std::string blob(70000, '\x07');
    WriteFile(dir / "pkg" / "Upd1.0.0.2" / "040_a.sql", "select 2;");
    WriteFile(dir / "pkg" / "Upd1.0.0.1" / "SUB" / "x.bfb", blob);
    WriteFile(dir / "pkg" / "Upd1.0.0.1" / "010_b.sql", "select 1;");
    WriteFile(dir / "pkg" / "Init.ini", "<SETTINGS/>");
    const std::string package = BuildPackage(dir / "pkg", "Пароль1");

    EXPECT_EQ(Unpack(package, "Пароль1"), (Contents{{"Init.ini", "<SETTINGS/>"},
                                                    {"Upd1.0.0.1\\010_b.sql", "select 1;"},
                                                    {"Upd1.0.0.1\\SUB\\x.bfb", blob},
                                                    {"Upd1.0.0.2\\040_a.sql", "select 2;"}}));
    EXPECT_LT(package.size(), blob.size() / 10); // deflated
    EXPECT_NE(package.find("Upd1.0.0.1/SUB/x.bfb"), std::string::npos);

    Reader reader = Reader::OpenMemory(package);
    EXPECT_THROW(reader.Read(0), pr::zip::Error);
    reader.SetPassword("Пароль1"); // the secret alone is not the archive password
    EXPECT_THROW(reader.Read(0), pr::zip::Error);
}

TEST(PatchPackage, FromAZipKeepsItsOrderAndReencrypts) {
    TempDir dir;
    WriteFile(dir / "plain.zip", BuildPlainZip({{"Upd1.0.0.1/", ""},
                                                {"Upd1.0.0.1/020_b.sql", "b"},
                                                {"Upd1.0.0.1/010_a.sql", "a"},
                                                {"Init.ini", "<S/>"}}));
    const Contents expected{
        {"Upd1.0.0.1\\020_b.sql", "b"}, {"Upd1.0.0.1\\010_a.sql", "a"}, {"Init.ini", "<S/>"}};
    const std::string package = BuildPackage(dir / "plain.zip", "SECRET");
    EXPECT_EQ(Unpack(package, "SECRET"), expected);

    // A package written out as it was embedded builds again under the same secret.
    WriteFile(dir / "patch.pdt", package);
    EXPECT_EQ(Unpack(BuildPackage(dir / "patch.pdt", "SECRET"), "SECRET"), expected);
    EXPECT_THROW(BuildPackage(dir / "patch.pdt", "OTHER"), pr::zip::Error);
}

TEST(PatchPackage, RefusesInputItCannotMakeAPackageOf) {
    TempDir dir;
    WriteFile(dir / "nosettings" / "Upd1.0.0.1" / "010_a.sql", "a");
    WriteFile(dir / "nosettings.zip", BuildPlainZip({{"Upd1.0.0.1/010_a.sql", "a"}}));
    WriteFile(dir / "pkg" / "Init.ini", "<S/>");
    WriteFile(dir / "notes.txt", "not a zip");
    const std::string root = dir.path().string();
    EXPECT_EQ(MessageOf([&] { BuildPackage(dir / "pkg", ""); }), "PackagePassword is empty");
    EXPECT_EQ(MessageOf([&] { BuildPackage(dir / "missing", "S"); }),
              "Cannot read the package \"" + root + "/missing\": No such file or directory");
    EXPECT_EQ(MessageOf([&] { BuildPackage(dir / "nosettings", "S"); }),
              "The package \"" + root + "/nosettings\" has no settings file (an \".ini\" entry)");
    EXPECT_EQ(MessageOf([&] { BuildPackage(dir / "nosettings.zip", "S"); }),
              "The package \"" + root +
                  "/nosettings.zip\" has no settings file (an \".ini\" entry)");
    EXPECT_EQ(MessageOf([&] { BuildPackage(dir / "notes.txt", "S"); }),
              "Cannot open the archive \"" + root +
                  "/notes.txt\": not a zip archive, or the archive is incomplete");
}

TEST(PatchPackage, PlainZipHoldsTheEntriesUnencrypted) {
    const Reader reader =
        Reader::OpenMemory(BuildPlainZip({{"blob.xml", "<r/>"}, {"a.vbv", "\x01\x02"}}));
    ASSERT_EQ(reader.Entries().size(), 2u);
    EXPECT_FALSE(reader.Entries()[0].encrypted);
    EXPECT_EQ(reader.Read(1), "\x01\x02");
    EXPECT_TRUE(Reader::OpenMemory(BuildPlainZip({})).Entries().empty());
}

} // namespace
