#include "platform/resources/Resources.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

const std::string kSecret = "K7QW2ZP9ME4RT8YX3NB6VC1LJ5HG0F";
// The end record alone: a valid empty zip archive.
const std::string kEmptyZip = std::string("PK\x05\x06", 4) + std::string(18, '\0');

class PatchBuildTest : public testing::Test {
  protected:
    PatchBuildTest() {
        WriteFile(dir_ / "params.ini",
                  "[Form]\r\nFormCaption='Оновлення'\r\nPackagePassword='" + kSecret + "'\r\n");
        WriteFile(dir_ / "package.zip", kEmptyZip);
        WriteFile(dir_ / "uh.so", "plug-in bytes");
    }

    std::string P(const std::string& name) const { return (dir_ / name).string(); }

    pr::process::Result Build(const std::vector<std::string>& args) const {
        return pr::process::Run({.argv = [&] {
            std::vector<std::string> argv{PR_PATCHBUILD};
            argv.insert(argv.end(), args.begin(), args.end());
            return argv;
        }()});
    }

    std::vector<std::string> GoodArgs(const std::string& output) const {
        return {"--runner", PR_PATCHRUNNER,  "--package", P("package.zip"),
                "--params", P("params.ini"), "--output",  P(output)};
    }

    testsupport::TempDir dir_;
};

TEST_F(PatchBuildTest, PatchExecutableCarriesItsResourcesAndRuns) {
    std::vector<std::string> args = GoodArgs("patch.run");
    args.insert(args.end(), {"--verifier", P("uh.so")});
    const auto built = Build(args);
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_EQ(built.err, "");

    const pr::resources::ResourceFile patch(P("patch.run"));
    EXPECT_EQ(patch.Names(), (std::vector<std::string>{"Patch", "PatchParams", "PatchVerifier"}));
    EXPECT_EQ(patch.Read("Patch"), kEmptyZip);
    EXPECT_EQ(patch.Read("PatchParams"), ReadFile(dir_ / "params.ini"));
    EXPECT_EQ(patch.Read("PatchVerifier"), "plug-in bytes");
    struct stat st {};
    ASSERT_EQ(stat(P("patch.run").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);

    const auto help = e2e::RunProgram(P("patch.run"), {"-help"}, "/nonexistent/registry.ini");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, e2e::HelpList("PATCH.RUN"));
}

TEST_F(PatchBuildTest, BuildingFromAPatchExecutableReplacesItsResources) {
    std::vector<std::string> first = GoodArgs("first.run");
    first.insert(first.end(), {"--verifier", P("uh.so")});
    ASSERT_EQ(Build(first).exitCode, 0);
    const std::string otherZip = kEmptyZip.substr(0, 20) + "\x01\x02";
    WriteFile(dir_ / "other.zip", otherZip);
    const auto second = Build({"--runner", P("first.run"), "--package", P("other.zip"), "--params",
                               P("params.ini"), "--output", P("second.run")});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    const pr::resources::ResourceFile patch(P("second.run"));
    EXPECT_EQ(patch.Names(), (std::vector<std::string>{"Patch", "PatchParams"}));
    EXPECT_EQ(patch.Read("Patch"), otherZip);
    EXPECT_EQ(e2e::RunProgram(P("second.run"), {"-help"}, "/nonexistent/registry.ini").exitCode, 0);
}

struct BadInputCase {
    std::string name;
    std::vector<std::string> args; // "@x" stands for the file x in the test's folder
    std::string message;           // the same placeholders
};

void PrintTo(const BadInputCase& c, std::ostream* os) {
    *os << c.name;
}

class PatchBuildBadInputTest : public PatchBuildTest,
                               public testing::WithParamInterface<BadInputCase> {
  protected:
    std::string Expand(const std::string& text) const {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '@') {
                out += text[i];
                continue;
            }
            std::size_t end = text.find_first_of(" :", i);
            end = end == std::string::npos ? text.size() : end;
            out += P(text.substr(i + 1, end - i - 1));
            i = end - 1;
        }
        return out;
    }
};

TEST_P(PatchBuildBadInputTest, FailsWithAClearMessageAndNoOutput) {
    WriteFile(dir_ / "empty.ini", "[Form]\nPackagePassword=''\nFormCaption=x\n");
    WriteFile(dir_ / "nokey.ini", "[Other]\nPackagePassword=" + kSecret + "\n");
    WriteFile(dir_ / "notzip.bin", "plain text");
    std::filesystem::create_directory(dir_ / "folder");
    std::vector<std::string> args;
    for (const auto& arg : GetParam().args)
        args.push_back(arg == "RUNNER" ? PR_PATCHRUNNER : Expand(arg));
    const auto result = Build(args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.starts_with("patchbuild: " + Expand(GetParam().message) + "\n"))
        << result.err;
    EXPECT_EQ(result.err.find(kSecret), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out.run"));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PatchBuildBadInputTest,
    testing::Values(
        BadInputCase{"MissingSettings",
                     {"--runner", "RUNNER", "--package", "@package.zip", "--params", "@none.ini",
                      "--output", "@out.run"},
                     "Settings file not found: @none.ini"},
        BadInputCase{"EmptyPackagePassword",
                     {"--runner", "RUNNER", "--package", "@package.zip", "--params", "@empty.ini",
                      "--output", "@out.run"},
                     "PackagePassword is empty in section Form of @empty.ini"},
        BadInputCase{"PackagePasswordOutsideForm",
                     {"--runner", "RUNNER", "--package", "@package.zip", "--params", "@nokey.ini",
                      "--output", "@out.run"},
                     "PackagePassword is empty in section Form of @nokey.ini"},
        BadInputCase{"MissingPackage",
                     {"--runner", "RUNNER", "--package", "@none.zip", "--params", "@params.ini",
                      "--output", "@out.run"},
                     "Cannot read the package: Cannot open @none.zip: No such file or directory"},
        BadInputCase{"PackageNotAZip",
                     {"--runner", "RUNNER", "--package", "@notzip.bin", "--params", "@params.ini",
                      "--output", "@out.run"},
                     "The package is neither a folder nor a zip archive: @notzip.bin"},
        BadInputCase{"PackageFolder",
                     {"--runner", "RUNNER", "--package", "@folder", "--params", "@params.ini",
                      "--output", "@out.run"},
                     "Building a package from a folder is not supported yet: @folder"},
        BadInputCase{"MissingVerifier",
                     {"--runner", "RUNNER", "--package", "@package.zip", "--params", "@params.ini",
                      "--verifier", "@none.so", "--output", "@out.run"},
                     "Verifier plug-in not found: @none.so"},
        BadInputCase{"MissingRunner",
                     {"--runner", "@none", "--package", "@package.zip", "--params", "@params.ini",
                      "--output", "@out.run"},
                     "Runner executable not found: @none"},
        BadInputCase{"UnknownArgument",
                     {"--runner", "RUNNER", "--pakage", "@package.zip"},
                     "Unknown argument: --pakage"},
        BadInputCase{"MissingOutput",
                     {"--runner", "RUNNER", "--package", "@package.zip", "--params", "@params.ini"},
                     "Missing --output"},
        BadInputCase{"ValueMissing", {"--runner"}, "Missing value of --runner"}));

} // namespace
