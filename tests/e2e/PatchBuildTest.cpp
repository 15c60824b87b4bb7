#include "SharedCode6/Util/uUtilites.h"
#include "platform/resources/Resources.h"
#include "platform/zip/Reader.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/support/TempDir.h"
#include "tools/package/PatchPackage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

const std::string kSecret = "K7QW2ZP9ME4RT8YX3NB6VC1LJ5HG0F";
const std::string kSettings = "<PATCH><PROGRAM_NAME>QLAV</PROGRAM_NAME></PATCH>";
const std::string kScript = "select 1;";

// Every entry of an embedded package, decrypted with the archive password of kSecret.
std::vector<std::pair<std::string, std::string>> PackageEntries(const std::string& package) {
    auto reader = pr::zip::Reader::OpenMemory(package);
    reader.SetPassword(MakeArchivePassword(kSecret));
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& entry : reader.Entries())
        entries.emplace_back(entry.name, reader.Read(entry.index));
    return entries;
}

const std::vector<std::pair<std::string, std::string>> kExpectedEntries = {
    {"Init.ini", kSettings}, {"Upd1.0.0.1\\010_a.sql", kScript}};

class PatchBuildTest : public testing::Test {
  protected:
    PatchBuildTest() {
        WriteFile(dir_ / "params.ini",
                  "[Form]\r\nFormCaption='Оновлення'\r\nPackagePassword='" + kSecret + "'\r\n");
        WriteFile(dir_ / "package.zip",
                  patchpackage::BuildPlainZip(
                      {{"Init.ini", kSettings}, {"Upd1.0.0.1/010_a.sql", kScript}}));
        WriteFile(dir_ / "folder" / "Init.ini", kSettings);
        WriteFile(dir_ / "folder" / "Upd1.0.0.1" / "010_a.sql", kScript);
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
    EXPECT_EQ(PackageEntries(patch.Read("Patch")), kExpectedEntries);
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
    const auto second = Build({"--runner", P("first.run"), "--package", P("folder"), "--params",
                               P("params.ini"), "--output", P("second.run")});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    const pr::resources::ResourceFile patch(P("second.run"));
    EXPECT_EQ(patch.Names(), (std::vector<std::string>{"Patch", "PatchParams"}));
    EXPECT_EQ(PackageEntries(patch.Read("Patch")), kExpectedEntries);
    EXPECT_EQ(e2e::RunProgram(P("second.run"), {"-help"}, "/nonexistent/registry.ini").exitCode, 0);
}

// Arguments of a good build with some flags replaced or added ("" drops the flag, "-" its value).
struct BadInputCase {
    std::string name;
    std::vector<std::pair<std::string, std::string>> changes; // "@x": file x of the test folder
    std::string message;                                      // the same placeholders
};

void PrintTo(const BadInputCase& c, std::ostream* os) {
    *os << c.name;
}

class PatchBuildBadInputTest : public PatchBuildTest,
                               public testing::WithParamInterface<BadInputCase> {
  protected:
    std::string Expand(const std::string& text) const {
        const auto at = text.find('@');
        if (at == std::string::npos)
            return text;
        const auto end = std::min(text.find(':', at), text.size());
        return text.substr(0, at) + P(text.substr(at + 1, end - at - 1)) + text.substr(end);
    }

    std::vector<std::string> Arguments() const {
        std::vector<std::pair<std::string, std::string>> flags = {{"--runner", PR_PATCHRUNNER},
                                                                  {"--package", "@package.zip"},
                                                                  {"--params", "@params.ini"},
                                                                  {"--output", "@out.run"}};
        for (const auto& [flag, value] : GetParam().changes) {
            auto it = std::find_if(flags.begin(), flags.end(),
                                   [&flag](const auto& f) { return f.first == flag; });
            if (it == flags.end())
                flags.emplace_back(flag, value);
            else
                it->second = value;
        }
        std::vector<std::string> args;
        for (const auto& [flag, value] : flags) {
            if (value.empty())
                continue;
            args.push_back(flag);
            if (value != "-")
                args.push_back(Expand(value));
        }
        return args;
    }
};

TEST_P(PatchBuildBadInputTest, FailsWithAClearMessageAndNoOutput) {
    WriteFile(dir_ / "empty.ini", "[Form]\nPackagePassword=''\nFormCaption=x\n");
    WriteFile(dir_ / "nokey.ini", "[Other]\nPackagePassword=" + kSecret + "\n");
    WriteFile(dir_ / "notzip.bin", "plain text");
    std::filesystem::create_directory(dir_ / "empty");
    const auto result = Build(Arguments());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.starts_with("patchbuild: " + Expand(GetParam().message) + "\n"))
        << result.err;
    EXPECT_EQ(result.err.find(kSecret), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out.run"));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PatchBuildBadInputTest,
    testing::Values(
        BadInputCase{
            "MissingSettings", {{"--params", "@none.ini"}}, "Settings file not found: @none.ini"},
        BadInputCase{"EmptyPackagePassword",
                     {{"--params", "@empty.ini"}},
                     "PackagePassword is empty in section Form of @empty.ini"},
        BadInputCase{"PackagePasswordOutsideForm",
                     {{"--params", "@nokey.ini"}},
                     "PackagePassword is empty in section Form of @nokey.ini"},
        BadInputCase{
            "MissingPackage", {{"--package", "@none.zip"}}, "Package not found: @none.zip"},
        BadInputCase{
            "PackageNotAZip",
            {{"--package", "@notzip.bin"}},
            "Cannot open the archive \"@notzip.bin\": not a zip archive, or the archive is "
            "incomplete"},
        BadInputCase{"PackageFolder",
                     {{"--package", "@empty"}},
                     "The package \"@empty\" has no settings file (an \".ini\" entry)"},
        BadInputCase{"MissingVerifier",
                     {{"--verifier", "@none.so"}},
                     "Verifier plug-in not found: @none.so"},
        BadInputCase{
            "MissingRunner", {{"--runner", "@none"}}, "Runner executable not found: @none"},
        BadInputCase{
            "UnknownArgument", {{"--pakage", "@package.zip"}}, "Unknown argument: --pakage"},
        BadInputCase{"MissingOutput", {{"--output", ""}}, "Missing --output"},
        BadInputCase{"ValueMissing", {{"--output", "-"}}, "Missing value of --output"}));

} // namespace
