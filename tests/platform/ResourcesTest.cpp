#include "platform/resources/Resources.h"
#include "platform/fs/FileSystem.h"
#include "platform/process/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

namespace {

using namespace pr::resources;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

std::string RandomBytes(std::size_t size) {
    std::mt19937 random(12345);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

class ResourcesTest : public testing::Test {
  protected:
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // The probe with resources appended.
    std::string Probe(const std::vector<ResourceSource>& resources,
                      const std::string& name = "probe") {
        WriteExecutable(PR_RESOURCE_PROBE, resources, Path(name));
        return Path(name);
    }

    TempDir dir_;
    const std::string big_ = RandomBytes(5 * 1024 * 1024 + 17);
};

TEST_F(ResourcesTest, RoundTripsEveryByteAndFindsNamesIgnoringCase) {
    WriteFile(dir_ / "params.ini", "[Form]\nFormCaption='Патч'\n");
    const std::string exe = Probe({ResourceSource::FromBytes("Patch", big_),
                                   ResourceSource::FromFile("PatchParams", Path("params.ini")),
                                   ResourceSource::FromBytes("Empty", "")});
    const ResourceFile file(exe);
    EXPECT_EQ(file.Names(), (std::vector<std::string>{"Patch", "PatchParams", "Empty"}));
    EXPECT_TRUE(file.Has("PATCH"));
    EXPECT_EQ(file.Size("patch"), big_.size());
    EXPECT_EQ(file.Read("patch"), big_);
    EXPECT_EQ(file.Read("PATCHPARAMS"), ReadFile(dir_ / "params.ini"));
    EXPECT_EQ(file.Read("Empty"), "");
    file.SaveToFile("Patch", Path("patch.pdt"));
    EXPECT_EQ(ReadFile(dir_ / "patch.pdt"), big_);
}

TEST_F(ResourcesTest, OutputIsARunnableExecutableThatFindsItsOwnResources) {
    const std::string exe = Probe({ResourceSource::FromBytes("Patch", big_)});
    struct stat st {};
    ASSERT_EQ(stat(exe.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);

    const auto saved = pr::process::Run({.argv = {exe, "patch", Path("out.bin")}});
    EXPECT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_EQ(ReadFile(dir_ / "out.bin"), big_);

    const auto missing = pr::process::Run({.argv = {exe, "PatchVerifier", Path("uh.so")}});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Resource \"PatchVerifier\" not found\n");
}

TEST_F(ResourcesTest, RewritingReplacesTheResourcesAlreadyAppended) {
    const std::string first = Probe({ResourceSource::FromBytes("Patch", big_)}, "first");
    const std::string second = Probe({}, "second");
    WriteExecutable(first, {ResourceSource::FromBytes("PatchParams", "p")}, Path("third"));
    // The executable itself may be its own output.
    WriteExecutable(second, {ResourceSource::FromBytes("Patch", "small")}, second);

    const ResourceFile third(Path("third"));
    EXPECT_EQ(third.Names(), std::vector<std::string>{"PatchParams"});
    EXPECT_EQ(third.Read("PatchParams"), "p");
    EXPECT_EQ(ResourceFile(second).Read("Patch"), "small");
    const std::string original = ReadFile(PR_RESOURCE_PROBE);
    EXPECT_EQ(ReadFile(Path("third")).substr(0, original.size()), original);
    EXPECT_LT(ReadFile(Path("third")).size(), original.size() + 100);
    EXPECT_EQ(pr::process::Run({.argv = {Path("third"), "PatchParams", Path("p")}}).exitCode, 0);
}

TEST_F(ResourcesTest, MissingResourceNamesItself) {
    const ResourceFile plain(PR_RESOURCE_PROBE);
    EXPECT_TRUE(plain.Names().empty());
    EXPECT_FALSE(plain.Has("Patch"));
    try {
        plain.Read("PatchVerifier");
        FAIL();
    } catch (const ENotFound& e) {
        EXPECT_STREQ(e.what(), "Resource \"PatchVerifier\" not found");
    }
    EXPECT_THROW(plain.SaveToFile("Patch", Path("x")), ENotFound);
    EXPECT_FALSE(pr::fs::FileExists(Path("x")));
}

TEST_F(ResourcesTest, RefusesDuplicateNamesAndUnreadableSources) {
    EXPECT_THROW(
        Probe({ResourceSource::FromBytes("Patch", "a"), ResourceSource::FromBytes("PATCH", "b")}),
        pr::Error);
    EXPECT_THROW(Probe({ResourceSource::FromFile("Patch", Path("missing.zip"))}), pr::Error);
    EXPECT_THROW(WriteExecutable(Path("missing"), {}, Path("probe")), pr::Error);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "probe"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "probe.partial"));
}

TEST_F(ResourcesTest, DamagedTrailerIsReported) {
    const std::string exe = Probe({ResourceSource::FromBytes("Patch", "payload bytes")});
    std::string bytes = ReadFile(exe);
    bytes.erase(bytes.size() - 60, 1); // one byte less inside the index
    WriteFile(dir_ / "damaged", bytes);
    try {
        ResourceFile damaged(Path("damaged"));
        FAIL();
    } catch (const pr::Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The resources appended to " + Path("damaged") + " are damaged");
    }
    EXPECT_THROW(ResourceFile(Path("none")), pr::Error);
}

} // namespace
