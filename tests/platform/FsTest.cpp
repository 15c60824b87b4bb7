#include "platform/core/Error.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Guid.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sys/stat.h>

namespace {

using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
  public:
    ScopedEnv(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name);
            saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
            if (value)
                setenv(name, value, 1);
            else
                unsetenv(name);
        }
    }
    ~ScopedEnv() {
        for (const auto& [name, value] : saved_)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(FileSystem, TempBaseTakesTempThenTmpdirThenTmp) {
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"/a", "/b", "/a"}, {"", "/b", "/b"}, {nullptr, "/b", "/b"}, {nullptr, nullptr, "/tmp"}};
    for (const auto& [temp, tmpdir, expected] : cases) {
        ScopedEnv env{{"TEMP", temp}, {"TMPDIR", tmpdir}};
        EXPECT_EQ(pr::fs::TempBase(), expected);
    }
}

TEST(FileSystem, CreateFolderMakesEveryMissingParentPrivate) {
    TempDir dir;
    const std::string deep = (dir / "a/b/{GUID}").string();
    pr::fs::CreateFolder(deep);
    pr::fs::CreateFolder(deep + "/"); // existing is fine
    for (const char* part : {"a", "a/b", "a/b/{GUID}"}) {
        struct stat st {};
        ASSERT_EQ(stat((dir / part).c_str(), &st), 0) << part;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << part;
    }
    WriteFile(dir / "file", "x");
    try {
        pr::fs::CreateFolder((dir / "file/sub").string());
        FAIL();
    } catch (const pr::Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create folder " + (dir / "file").string() + ": File exists");
    }
}

TEST(FileSystem, NewGuidIsBracedUpperCaseVersion4) {
    const std::regex form(
        "\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
    const std::string a = pr::fs::NewGuid();
    const std::string b = pr::fs::NewGuid();
    EXPECT_EQ(a.size(), 38u);
    EXPECT_TRUE(std::regex_match(a, form)) << a;
    EXPECT_TRUE(std::regex_match(b, form)) << b;
    EXPECT_NE(a, b);
}

TEST(FileSystem, FreeBytesOfAnExistingVolumeOnly) {
    TempDir dir;
    EXPECT_GT(pr::fs::FreeBytes(dir.path().string()).value_or(0), 0u);
    EXPECT_EQ(pr::fs::FreeBytes((dir / "missing").string()), std::nullopt);
    EXPECT_EQ(pr::fs::FreeBytes(""), std::nullopt);
}

TEST(FileSystem, CopyReplacesTheTargetAndFilesRoundTrip) {
    TempDir dir;
    const std::string bytes("binary\0\xFF data", 13);
    pr::fs::WriteFile((dir / "source").string(), bytes);
    EXPECT_EQ(pr::fs::ReadFile((dir / "source").string()), bytes);
    WriteFile(dir / "target", std::string(100, 'x'));
    pr::fs::CopyFile((dir / "source").string(), (dir / "target").string());
    EXPECT_EQ(ReadFile(dir / "target"), bytes);
    EXPECT_THROW(pr::fs::CopyFile((dir / "missing").string(), (dir / "target").string()),
                 pr::Error);
    EXPECT_THROW(pr::fs::CopyFile((dir / "source").string(), (dir / "no/target").string()),
                 pr::Error);
    EXPECT_EQ(ReadFile(dir / "target"), bytes);
}

TEST(FileSystem, FileExistsOnlyForFiles) {
    TempDir dir;
    WriteFile(dir / "file", "");
    EXPECT_TRUE(pr::fs::FileExists((dir / "file").string()));
    EXPECT_FALSE(pr::fs::FileExists(dir.path().string()));
    EXPECT_FALSE(pr::fs::FileExists((dir / "missing").string()));
}

} // namespace
