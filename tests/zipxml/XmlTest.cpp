#include "platform/xml/Document.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using pr::xml::Document;
using pr::xml::Element;
using pr::xml::NodeKind;

namespace {

struct Encoded {
    const char* label;
    std::string bytes;
};

std::ostream& operator<<(std::ostream& out, const Encoded& c) {
    return out << c.label;
}

class XmlEncoding : public ::testing::TestWithParam<Encoded> {};

TEST_P(XmlEncoding, TextsComeOutAsUtf8) {
    const Document doc = Document::Parse(GetParam().bytes);
    const Element module = doc.Root().FirstChild("MODULE").value();
    EXPECT_EQ(module.Text(), "Звіт");
    EXPECT_EQ(module.Attribute("name"), "Звіт");
}

// "Звіт" in code page 1251.
const std::string kCp1251 = "\xC7\xE2\xB3\xF2";

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlEncoding,
    ::testing::Values(
        Encoded{"Windows1251",
                "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<SETTINGS><MODULE name=\"" +
                    kCp1251 + "\">" + kCp1251 + "</MODULE></SETTINGS>"},
        Encoded{
            "DeclaredUtf8",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><S><MODULE name=\"Звіт\">Звіт</MODULE></S>"},
        Encoded{"Undeclared", "<S><MODULE name=\"Звіт\">Звіт</MODULE></S>"}),
    [](const auto& info) { return std::string(info.param.label); });

struct Malformed {
    const char* label;
    std::string bytes;
    std::string message;
};

std::ostream& operator<<(std::ostream& out, const Malformed& c) {
    return out << c.label;
}

class XmlMalformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(XmlMalformed, IsAnErrorWithTheParsersMessageAndLine) {
    try {
        Document::Parse(GetParam().bytes);
        FAIL() << "parsed";
    } catch (const pr::xml::Error& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlMalformed,
    ::testing::Values(
        Malformed{"TagMismatch", "<S>\r\n<TYPE>3</TYPE>\r\n<USER>\r\n</S>",
                  "XML error at line 4: Opening and ending tag mismatch: USER line 3 and S"},
        Malformed{"Empty", "", "XML error at line 1: Document is empty"},
        Malformed{"NotXml", "TYPE=3", "XML error at line 1: Start tag expected, '<' not found"},
        Malformed{"Cp1251WithoutDeclaration", "<S>" + kCp1251 + "</S>",
                  "XML error at line 1: Input is not proper UTF-8, indicate encoding ! Bytes: 0xC7 "
                  "0xE2 0xB3 0xF2"},
        Malformed{"UnknownEncoding", "<?xml version=\"1.0\" encoding=\"koi-9\"?><S/>",
                  "XML error at line 1: Unsupported encoding koi-9"}),
    [](const auto& info) { return std::string(info.param.label); });

struct TextRule {
    const char* label;
    const char* xml;
    bool isTextElement;
    const char* text; // nullptr: Text() raises
};

std::ostream& operator<<(std::ostream& out, const TextRule& c) {
    return out << c.label;
}

class XmlTextRule : public ::testing::TestWithParam<TextRule> {};

TEST_P(XmlTextRule, TextNeedsASingleTextNode) {
    const TextRule& c = GetParam();
    const Element element = Document::Parse(c.xml).Root();
    EXPECT_EQ(element.IsTextElement(), c.isTextElement);
    if (c.text) {
        EXPECT_EQ(element.Text(), c.text);
        return;
    }
    try {
        element.Text();
        FAIL() << "no error";
    } catch (const pr::xml::Error& e) {
        EXPECT_STREQ(e.what(), "Element does not contain a single text node");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlTextRule,
    ::testing::Values(TextRule{"Text", "<A>15</A>", true, "15"},
                      TextRule{"TextWithBlanksKept", "<A> 15 </A>", true, " 15 "},
                      TextRule{"CData", "<A><![CDATA[a<b]]></A>", true, "a<b"},
                      TextRule{"EmptyElement", "<A/>", false, ""},
                      TextRule{"OnlyBlanks", "<A>\r\n  \t</A>", false, ""},
                      TextRule{"ChildElement", "<A><B>1</B></A>", false, nullptr},
                      TextRule{"TextBesideElement", "<A>10<B>1</B></A>", false, nullptr},
                      TextRule{"TextBesideComment", "<A><!-- c -->5</A>", false, nullptr},
                      TextRule{"EntityReference", "<!DOCTYPE A [<!ENTITY e \"x\">]><A>&e;</A>",
                               false, nullptr}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(XmlDocument, ChildrenInDocumentOrderWithoutBlankText) {
    const Document doc = Document::Parse("<S>\r\n"
                                         "  <ALGORITHM>\r\n"
                                         "    <!-- directories -->\r\n"
                                         "    <VER_DIR MASK=\"Upd*\">\r\n"
                                         "      10\r\n"
                                         "      <Upd1.0.0.3>5</Upd1.0.0.3>\r\n"
                                         "    </VER_DIR>\r\n"
                                         "  </ALGORITHM>\r\n"
                                         "</S>");
    const Element algorithm = doc.Root().FirstChild("ALGORITHM").value();
    const auto children = algorithm.Children();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0].Kind(), NodeKind::Comment);
    EXPECT_EQ(children[0].Value(), " directories ");
    const Element verDir = children[1].AsElement();
    EXPECT_EQ(verDir.Name(), "VER_DIR");
    EXPECT_EQ(verDir.Attribute("MASK"), "Upd*");
    EXPECT_EQ(verDir.Attribute("mask"), std::nullopt);
    const auto inner = verDir.Children();
    ASSERT_EQ(inner.size(), 2u);
    EXPECT_EQ(inner[0].Kind(), NodeKind::Text);
    EXPECT_EQ(inner[0].Value(), "\n      10\n      "); // XML reads CR LF as LF
    EXPECT_EQ(inner[1].Name(), "Upd1.0.0.3");
    EXPECT_EQ(inner[1].AsElement().Text(), "5");
    EXPECT_THROW(inner[0].AsElement(), pr::xml::Error);
}

TEST(XmlDocument, MissingChildIsCreatedEmptyOnce) {
    const Document doc =
        Document::Parse("<S><VERSION><MAIN_MODULE>1.0.0.1</MAIN_MODULE></VERSION></S>");
    const Element root = doc.Root();
    EXPECT_FALSE(root.FirstChild("DATABASE"));
    EXPECT_EQ(root.ChildOrCreate("DATABASE").ChildOrCreate("USER").Text(), "");
    EXPECT_EQ(root.FirstChild("DATABASE").value().Children().size(), 1u);
    root.ChildOrCreate("DATABASE");
    EXPECT_EQ(root.Children().size(), 2u);
    EXPECT_EQ(root.ChildOrCreate("VERSION").ChildOrCreate("MAIN_MODULE").Text(), "1.0.0.1");
}

TEST(XmlDocument, NeverLoadsExternalEntitiesOrDtds) {
    // Both files are malformed: had the parser read them, the document would be refused.
    testsupport::TempDir dir;
    testsupport::WriteFile(dir / "secret.ent", "<secret");
    testsupport::WriteFile(dir / "ext.dtd",
                           "<!ENTITY x SYSTEM \"file://" + (dir / "secret.ent").string() + "\">");
    for (const std::string& doctype :
         {"<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + (dir / "secret.ent").string() + "\">]>",
          "<!DOCTYPE r SYSTEM \"file://" + (dir / "ext.dtd").string() + "\">"}) {
        const Document doc = Document::Parse(doctype + "<r>&x;</r>");
        const auto children = doc.Root().Children();
        ASSERT_EQ(children.size(), 1u);
        EXPECT_EQ(children[0].Kind(), NodeKind::Other);
    }
}

} // namespace
