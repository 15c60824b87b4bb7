#include "platform/zip/Reader.h"
#include "platform/zip/Writer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using pr::zip::EntryOptions;
using pr::zip::Reader;
using pr::zip::Writer;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

using Contents = std::vector<std::pair<std::string, std::string>>;

std::string Zip(const Contents& contents, const EntryOptions& options = {}) {
    Writer writer = Writer::OpenMemory();
    for (const auto& [name, bytes] : contents)
        writer.AddBytes(name, bytes, options);
    writer.Close();
    return writer.TakeBytes();
}

std::string Noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

template <class F> std::string MessageOf(F&& action) {
    try {
        action();
    } catch (const pr::zip::Error& e) {
        return e.what();
    }
    return "no error";
}

struct RoundTrip {
    const char* label;
    Contents contents;
    EntryOptions options;
};

std::ostream& operator<<(std::ostream& out, const RoundTrip& c) {
    return out << c.label;
}

// More entries than the classic end record can count, so the archive needs ZIP64.
Contents ManyEntries() {
    Contents contents;
    for (int i = 0; i < 70000; ++i)
        contents.emplace_back("Upd1.0.0." + std::to_string(i % 9 + 1) + "/" + std::to_string(i) +
                                  ".sql",
                              "select " + std::to_string(i) + ";");
    return contents;
}

class ZipRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ZipRoundTrip, ReadsBackWhatWasWrittenInMemoryAndInAFile) {
    const RoundTrip& c = GetParam();
    TempDir dir;
    Writer fileWriter = Writer::OpenFile(dir / "a.zip");
    for (const auto& [name, bytes] : c.contents)
        fileWriter.AddBytes(name, bytes, c.options);
    fileWriter.Close();

    std::vector<Reader> readers;
    readers.push_back(Reader::OpenMemory(Zip(c.contents, c.options)));
    readers.push_back(Reader::OpenFile(dir / "a.zip"));
    for (Reader& reader : readers) {
        reader.SetPassword(c.options.password);
        ASSERT_EQ(reader.Entries().size(), c.contents.size());
        for (std::size_t i = 0; i < c.contents.size(); ++i) {
            const pr::zip::Entry& entry = reader.Entries()[i];
            std::string name = c.contents[i].first;
            std::replace(name.begin(), name.end(), '/', '\\');
            EXPECT_EQ(entry.index, i);
            EXPECT_EQ(entry.name, name);
            EXPECT_EQ(entry.size, c.contents[i].second.size());
            EXPECT_EQ(entry.encrypted, !c.options.password.empty());
            ASSERT_EQ(reader.Read(i), c.contents[i].second) << name;
        }
        EXPECT_TRUE(reader.Test().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipRoundTrip,
    ::testing::Values(
        RoundTrip{"Stored", {{"Init.ini", "<a/>"}, {"Upd1.0.0.1/010_a.sql", "select 1;"}}, {0, ""}},
        RoundTrip{"Deflated", {{"Init.ini", std::string(10000, 'x')}, {"empty.txt", ""}}, {9, ""}},
        RoundTrip{"EncryptedDeflated", {{"Upd1.0.0.1/010_a.sql", "select 1;"}}, {9, "secret"}},
        RoundTrip{"EncryptedStoredHighBytes", {{"a.bin", Noise(1000, 1)}}, {0, "\xC0\xFF\x80pw"}},
        RoundTrip{"CyrillicName", {{"Звіти/Звіт.txt", "текст"}}, {6, ""}},
        RoundTrip{"MultiMegabyte",
                  {{"noise.bin", Noise(6 << 20, 2)}, {"text.txt", std::string(5 << 20, 'q')}},
                  {6, "big"}},
        RoundTrip{"ManyEntries", ManyEntries(), {6, "many"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ZipReader, PresentsNamesWithBackslashesAndSplitsFolderAndFileName) {
    // A name that ends in "/" is how archives record a folder.
    const Reader reader = Reader::OpenMemory(
        Zip({{"Init.ini", "x"}, {"Upd1.0.0.4/", ""}, {"Upd1.0.0.4\\SUB/040_views.sql", "y"}}));
    const auto& entries = reader.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].folder, "");
    EXPECT_EQ(entries[0].fileName, "Init.ini");
    EXPECT_FALSE(entries[0].IsFolder());
    EXPECT_EQ(entries[1].name, "Upd1.0.0.4\\");
    EXPECT_EQ(entries[1].folder, "Upd1.0.0.4\\");
    EXPECT_TRUE(entries[1].IsFolder());
    EXPECT_EQ(entries[2].name, "Upd1.0.0.4\\SUB\\040_views.sql");
    EXPECT_EQ(entries[2].folder, "Upd1.0.0.4\\SUB\\");
    EXPECT_EQ(entries[2].fileName, "040_views.sql");
}

TEST(ZipWriter, StoresNamesWithForwardSlashes) {
    const std::string bytes = Zip({{"Upd1.0.0.5\\x.sql", "select 1;"}});
    EXPECT_NE(bytes.find("Upd1.0.0.5/x.sql"), std::string::npos);
    EXPECT_EQ(bytes.find("Upd1.0.0.5\\x.sql"), std::string::npos);
}

TEST(ZipReader, EncryptedEntryNeedsThePassword) {
    Reader reader = Reader::OpenMemory(Zip({{"Upd1.0.0.1/a.sql", "select 1;"}}, {9, "right"}));
    EXPECT_EQ(MessageOf([&] { reader.Read(0); }),
              "Archive entry \"Upd1.0.0.1\\a.sql\" is encrypted and no password was given");
    reader.SetPassword("right");
    EXPECT_EQ(reader.Read(0), "select 1;");
}

TEST(ZipReader, NoWrongPasswordEverYieldsContent) {
    // The encryption header checks one byte only, so some wrong passwords pass it; the
    // checksum at the end of the read must still refuse them, for stored and deflated data.
    for (int level : {0, 9}) {
        Reader reader =
            Reader::OpenMemory(Zip({{"Init.ini", "<settings>x</settings>"}}, {level, "right"}));
        int pastHeaderCheck = 0;
        for (int i = 0; i < 3000; ++i) {
            reader.SetPassword("wrong" + std::to_string(i));
            const std::string message = MessageOf([&] { reader.Read(0); });
            ASSERT_NE(message, "no error") << "password wrong" << i;
            if (message ==
                "Archive entry \"Init.ini\" cannot be read: wrong password or damaged data")
                ++pastHeaderCheck;
            else
                ASSERT_EQ(message, "Wrong password for archive entry \"Init.ini\"");
        }
        EXPECT_GT(pastHeaderCheck, 0) << "level " << level;
    }
}

TEST(ZipReader, RefusesBytesThatAreNotAnArchive) {
    const std::string archive = Zip({{"a.txt", Noise(5000, 3)}});
    for (const std::string& bytes :
         {std::string(), std::string("<settings/>"), archive.substr(0, archive.size() / 2),
          archive.substr(0, archive.size() - 10)}) {
        EXPECT_EQ(
            MessageOf([&] { Reader::OpenMemory(bytes); }),
            "Cannot open the archive in memory: not a zip archive, or the archive is incomplete")
            << bytes.size();
    }
    TempDir dir;
    WriteFile(dir / "cut.pdt", archive.substr(0, 100));
    EXPECT_EQ(MessageOf([&] { Reader::OpenFile(dir / "cut.pdt"); }),
              "Cannot open the archive \"" + (dir / "cut.pdt").string() +
                  "\": not a zip archive, or the archive is incomplete");
    EXPECT_NE(MessageOf([&] { Reader::OpenFile(dir / "missing.pdt"); }).find("missing.pdt"),
              std::string::npos);
}

// An archive whose second entry has one byte changed in its stored data.
std::string DamagedArchive() {
    const std::string second = Noise(4000, 5);
    std::string bytes = Zip({{"first.txt", "intact"}, {"Upd1.0.0.1/second.bin", second}}, {0, ""});
    bytes[bytes.find(second) + 2000] ^= 0x40;
    return bytes;
}

TEST(ZipReader, DamagedEntryIsAnErrorNamingItAndTestFindsOnlyIt) {
    const Reader reader = Reader::OpenMemory(DamagedArchive());
    EXPECT_EQ(reader.Read(0), "intact");
    EXPECT_EQ(MessageOf([&] { reader.Read(1); }),
              "Archive entry \"Upd1.0.0.1\\second.bin\" is damaged (CRC error)");
    const auto failures = reader.Test();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].index, 1u);
    EXPECT_EQ(failures[0].message,
              "Archive entry \"Upd1.0.0.1\\second.bin\" is damaged (CRC error)");
}

TEST(ZipReader, TestReportsProgressAndStopsOnCancel) {
    const Reader reader =
        Reader::OpenMemory(Zip({{"a", Noise(1 << 20, 6)}, {"b", Noise(1 << 20, 7)}}));
    std::vector<double> shares;
    EXPECT_TRUE(reader.Test([&](double done) { shares.push_back(done); }).empty());
    ASSERT_GT(shares.size(), 2u);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_EQ(shares.back(), 1.0);

    int asked = 0;
    EXPECT_THROW(reader.Test({}, [&] { return ++asked == 3; }), pr::zip::Cancelled);
}

TEST(ZipWriter, CloseReportsProgressAndCancelLeavesNoFile) {
    TempDir dir;
    std::vector<double> shares;
    {
        Writer writer = Writer::OpenFile(dir / "done.zip");
        writer.AddBytes("a", Noise(1 << 20, 8));
        writer.AddBytes("b", Noise(1 << 20, 9));
        writer.Close([&](double done) { shares.push_back(done); });
    }
    ASSERT_FALSE(shares.empty());
    EXPECT_EQ(shares.back(), 1.0);
    EXPECT_EQ(Reader::OpenFile(dir / "done.zip").Entries().size(), 2u);

    Writer writer = Writer::OpenFile(dir / "cancelled.zip");
    writer.AddBytes("a", Noise(1 << 20, 8));
    writer.AddBytes("b", Noise(1 << 20, 9));
    EXPECT_THROW(writer.Close({}, [] { return true; }), pr::zip::Cancelled);
    EXPECT_FALSE(fs::exists(dir / "cancelled.zip"));
    EXPECT_EQ(fs::directory_iterator(dir.path())->path().filename(), "done.zip");
}

TEST(ZipWriter, AppendAddsEntriesOneAtATime) {
    TempDir dir;
    const fs::path path = dir / "patch.pdt.out";
    for (const char* name : {"1Error.txt", "2Log.txt", "3Log.txt"}) {
        Writer writer = Writer::OpenFile(path, Writer::Mode::Append);
        writer.AddBytes(name, std::string("text of ") + name, {9, ""});
        writer.Close();
    }
    const Reader reader = Reader::OpenFile(path);
    ASSERT_EQ(reader.Entries().size(), 3u);
    EXPECT_EQ(reader.Entries()[2].name, "3Log.txt");
    EXPECT_EQ(reader.Read(0), "text of 1Error.txt");

    Writer writer = Writer::OpenFile(path, Writer::Mode::Append);
    EXPECT_EQ(MessageOf([&] { writer.AddBytes("2Log.txt", "again"); }),
              "The archive \"" + path.string() + "\" already holds an entry \"2Log.txt\"");
}

TEST(ZipWriter, RefusesInputItCannotUse) {
    TempDir dir;
    WriteFile(dir / "notes.txt", "not an archive");
    EXPECT_THROW(Writer::OpenFile(dir / "notes.txt", Writer::Mode::Append), pr::zip::Error);
    EXPECT_EQ(ReadFile(dir / "notes.txt"), "not an archive");

    Writer writer = Writer::OpenMemory();
    EXPECT_EQ(MessageOf([&] { writer.AddFile("a", dir / "missing"); }),
              "Cannot read the file \"" + (dir / "missing").string() + "\"");
    writer.AddFile("notes.txt", dir / "notes.txt", {9, "pw"});
    writer.Close();
    Reader reader = Reader::OpenMemory(writer.TakeBytes());
    reader.SetPassword("pw");
    EXPECT_EQ(reader.Read(0), "not an archive");
}

TEST(ZipExtract, WritesEntriesBelowTheFolder) {
    TempDir dir;
    const Reader reader =
        Reader::OpenMemory(Zip({{"Upd1.0.0.1/", ""}, {"Upd1.0.0.1/SUB/a.dll", "lib"}}));
    EXPECT_EQ(reader.ExtractTo(0, dir / "out"), dir / "out" / "Upd1.0.0.1");
    EXPECT_TRUE(fs::is_directory(dir / "out" / "Upd1.0.0.1"));
    EXPECT_EQ(reader.ExtractTo(1, dir / "out"), dir / "out" / "Upd1.0.0.1" / "SUB" / "a.dll");
    EXPECT_EQ(ReadFile(dir / "out" / "Upd1.0.0.1" / "SUB" / "a.dll"), "lib");
    reader.ExtractToFile(1, dir / "uh.so");
    EXPECT_EQ(ReadFile(dir / "uh.so"), "lib");
}

TEST(ZipExtract, RefusesEntriesThatWouldLeaveTheFolder) {
    for (const std::string name : {"../evil.txt", "a/../../evil.txt", "a\\..\\..\\evil.txt", "..",
                                   "/evil.txt", "\\evil.txt", "C:/evil.txt", "./"}) {
        TempDir dir;
        const Reader reader = Reader::OpenMemory(Zip({{name, "evil"}}));
        std::string shown = name;
        std::replace(shown.begin(), shown.end(), '/', '\\');
        EXPECT_EQ(MessageOf([&] { reader.ExtractTo(0, dir / "in" / "out"); }),
                  "Archive entry \"" + shown + "\" points outside the target folder");
        EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path()), {}), 0) << name;
    }
}

TEST(ZipExtract, RefusesToWriteThroughASymbolicLink) {
    TempDir dir;
    fs::create_directories(dir / "out");
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", dir / "out" / "link");
    const Reader reader = Reader::OpenMemory(Zip({{"link/passwd", "evil"}}));
    EXPECT_EQ(MessageOf([&] { reader.ExtractTo(0, dir / "out"); }),
              "Archive entry \"link\\passwd\" would be written through the symbolic link \"" +
                  (dir / "out" / "link").string() + "\"");
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
}

TEST(ZipExtract, FailedEntryLeavesTheExistingFileAsItWas) {
    TempDir dir;
    WriteFile(dir / "out" / "Upd1.0.0.1" / "second.bin", "old content");
    const Reader reader = Reader::OpenMemory(DamagedArchive());
    EXPECT_THROW(reader.ExtractTo(1, dir / "out"), pr::zip::Error);
    EXPECT_THROW(reader.ExtractToFile(1, dir / "out" / "Upd1.0.0.1" / "second.bin"),
                 pr::zip::Error);
    EXPECT_EQ(ReadFile(dir / "out" / "Upd1.0.0.1" / "second.bin"), "old content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out" / "Upd1.0.0.1"), {}), 1);
}

} // namespace
