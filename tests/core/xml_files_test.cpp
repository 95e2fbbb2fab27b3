// Loading and saving XML files: the tree each kind of input gives, the bytes
// the saver writes, and the failures of both.
#include <gtest/gtest.h>

#include <random>

#include "test_support.h"
#include "xml/xml_loading.h"
#include "xml/xml_saving.h"

namespace {

const std::string DECLARATION = "<?xml version='1.0' encoding='SHIFT_JIS'?>";

XMLNodesPtr element(const std::string& name, XMLNodesList children) {
    XMLNodesPtr node = makeElementNode(name);
    node->addChildren(std::move(children));
    return node;
}

XMLNodesPtr textElement(const std::string& name, const std::string& text) {
    return element(name, {makeTextNode(text)});
}

struct LoadCase {
    const char* what;
    std::string bytes;
    std::string tree;
};

TEST(XmlLoading, EachKindOfContentBecomesItsNode) {
    const LoadCase cases[] = {
        {"elements and an empty one", "<root><x>10</x><name/></root>",
         "root{x{#text\"10\"},name{}}"},
        {"indentation dropped", "<root>\n  <x>10</x>\n  <name>\n  </name>\n</root>\n",
         "root{x{#text\"10\"},name{}}"},
        {"attributes ignored", "<root><x unit=\"px\">10</x></root>", "root{x{#text\"10\"}}"},
        {"comment in document order", "<root><a>1</a><!--note--><b>2</b></root>",
         "root{a{#text\"1\"},#comment\"note\",b{#text\"2\"}}"},
        {"CDATA is not text", "<root><a><![CDATA[<raw>&]]></a></root>",
         "root{a{#cdata-section\"<raw>&\"}}"},
        {"processing instruction", "<root><?target data here?></root>",
         "root{target\"data here\"}"},
        {"references resolved", "<root><a>a&amp;b&#x41;&lt;</a></root>", "root{a{#text\"a&bA<\"}}"},
        {"any root name", "<?xml version='1.0'?><stage><x>1</x></stage>", "stage{x{#text\"1\"}}"},
        {"outside the root ignored",
         "<?xml version='1.0'?><!--before--><?pi x?><!DOCTYPE root><root/><!--after-->", "root{}"},
        {"mixed text keeps its spaces", "<root><a> 1 <b/> 2 </a></root>",
         "root{a{#text\" 1 \",b{},#text\" 2 \"}}"},
        {"carriage return reference", "<root><a>x&#13;y</a></root>", "root{a{#text\"x\ry\"}}"},
        {"latin-1", "<?xml version='1.0' encoding='ISO-8859-1'?><root><a>\xE9</a></root>",
         "root{a{#text\"?\"}}"},  // not in code page 932: its default character
        {"us-ascii", "<?xml version='1.0' encoding='us-ascii'?><r><a>ok</a></r>",
         "r{a{#text\"ok\"}}"},
    };
    for (const LoadCase& c : cases)
        EXPECT_EQ(describeTree(LoadXMLBytes(c.bytes)), c.tree) << c.what;
}

TEST(XmlLoading, ShiftJisUnderEveryCommonNameIsReadAsCodePage932) {
    const std::string name = sjis(u8"ステージ１");
    for (const char* encoding :
         {"Shift_JIS", "shift_jis", "SHIFT-JIS", "SJIS", "MS_Kanji", "CP932", "Windows-31J"}) {
        const std::string bytes = "<?xml version='1.0' encoding='" + std::string(encoding) +
                                  "'?><root><name>" + name + "</name></root>";
        EXPECT_EQ(describeTree(LoadXMLBytes(bytes)), "root{name{#text\"" + name + "\"}}")
            << encoding;
    }
}

TEST(XmlLoading, OtherSpellingsOfUtf8AsciiAndLatin1AreRead) {
    // é is not in code page 932: it arrives as the default character.
    const LoadCase cases[] = {
        {"UTF8", "\xE6\xA3\xAE", "r{#text\"" + sjis(u8"森") + "\"}"},
        {"ASCII", "ok", "r{#text\"ok\"}"},
        {"ASCII", "\xE9", "<empty>"},
        {"LATIN1", "\xE9", "r{#text\"?\"}"},
        {"ISO_8859-1", "\xE9", "r{#text\"?\"}"},
    };
    for (const LoadCase& c : cases) {
        const std::string bytes =
            "<?xml version='1.0' encoding='" + std::string(c.what) + "'?><r>" + c.bytes + "</r>";
        EXPECT_EQ(describeTree(LoadXMLBytes(bytes)), c.tree) << c.what << " " << c.bytes;
    }
}

struct FileCase {
    const char* file;
    std::string tree;
};

TEST(XmlLoading, FilesInEverySupportedEncoding) {
    const FileCase cases[] = {
        {"xml/made_by_iconv_sjis.xml",
         "root{x{#text\"12\"},name{#text\"" + sjis(u8"ステージ１ & 森") + "\"}}"},
        {"xml/utf8_with_mark.xml", "root{x{#text\"5\"},name{#text\"" + sjis(u8"森") + "\"}}"},
        {"xml/utf16le_with_mark.xml", "root{x{#text\"5\"},name{#text\"" + sjis(u8"森") + "\"}}"},
        {"xml/utf16be_with_mark.xml", "root{x{#text\"5\"},name{#text\"" + sjis(u8"森") + "\"}}"},
    };
    for (const FileCase& c : cases)
        EXPECT_EQ(describeTree(LoadXMLFile(testDataPath(c.file))), c.tree) << c.file;
}

TEST(XmlLoading, FailuresGiveAnEmptyTree) {
    const LoadCase cases[] = {
        {"not well-formed", "<root><x>1</root>", ""},
        {"no root", "<?xml version='1.0'?>", ""},
        {"empty", "", ""},
        {"two roots", "<a/><b/>", ""},
        {"text beside the root", "<a/>text", ""},
        {"unknown encoding", "<?xml version='1.0' encoding='EBCDIC-XX'?><a/>", ""},
        {"invalid UTF-8", "<a>\xC3\x28</a>", ""},
        {"UTF-8 declared, Shift_JIS bytes", "<?xml version='1.0' encoding='UTF-8'?><a>\x83\x58</a>",
         ""},
        {"ASCII declared, high bytes", "<?xml version='1.0' encoding='US-ASCII'?><a>\xE9</a>", ""},
        {"Shift_JIS ending inside a character",
         "<?xml version='1.0' encoding='Shift_JIS'?><a>\x83</a>", ""},
        {"control character", "<a>\x01</a>", ""},
        {"control character reference", "<a>&#1;</a>", ""},
        {"NUL byte", std::string("<a>x\0y</a>", 10), ""},
        {"odd UTF-16", "\xFF\xFE<\0a", ""},
    };
    for (const LoadCase& c : cases) EXPECT_EQ(LoadXMLBytes(c.bytes), nullptr) << c.what;
    TempFolder folder;
    EXPECT_EQ(LoadXMLFile(folder.file("missing.xml")), nullptr);
    EXPECT_EQ(LoadXMLFile(folder.path()), nullptr);
}

TEST(XmlLoading, DeepNestingFailsCleanlyInsteadOfExhaustingTheStack) {
    const int depth = 1'000'000;
    std::string bytes;
    bytes.reserve(depth * 7);
    for (int i = 0; i < depth; ++i) bytes += "<a>";
    for (int i = 0; i < depth; ++i) bytes += "</a>";
    EXPECT_EQ(LoadXMLBytes(bytes), nullptr);

    std::string allowed;
    for (int i = 0; i < MAX_XML_DEPTH; ++i) allowed += "<a>";
    for (int i = 0; i < MAX_XML_DEPTH; ++i) allowed += "</a>";
    EXPECT_NE(LoadXMLBytes(allowed), nullptr);
}

TEST(XmlSaving, WritesTheDeclarationThenTheRootWithoutWhiteSpace) {
    TempFolder folder;
    const XMLNodesPtr root =
        element("root", {textElement("x", "32"), element("name", {makeBlankTextNode()})});
    ASSERT_TRUE(SaveXMLFile(root, folder.file("out.xml")));
    EXPECT_EQ(readFileBytes(folder.file("out.xml")),
              readFileBytes(testDataPath("xml/declaration_and_root.xml")));
    EXPECT_EQ(describeTree(LoadXMLFile(folder.file("out.xml"))),
              "root{x{#text\"32\"},name{}}");  // the blank is dropped on reading
}

TEST(XmlSaving, JapaneseTextIsShiftJis) {
    const auto bytes =
        SerializeXMLDocument(element("root", {textElement("name", sjis(u8"ステージ１"))}));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes.value(),
              DECLARATION + "<root><name>\x83\x58\x83\x65\x81\x5B\x83\x57\x82\x50</name></root>");
}

TEST(XmlSaving, InterpretsEachNodeByItsFirstChild) {
    XMLNodesPtr mixed = element("a", {makeTextNode("kept"), textElement("lost", "1")});
    XMLNodesPtr container = element("b", {textElement("c", "2"), element("d", {})});
    const auto bytes = SerializeXMLDocument(element("root", {mixed, container}));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes.value(), DECLARATION + "<root><a>kept</a><b><c>2</c><d/></b></root>");
}

TEST(XmlSaving, MarkupAndCarriageReturnsAreEscapedAndReadBackUnchanged) {
    TempFolder folder;
    const std::string text = "a<b&c>d\r\ne\rf\t";
    ASSERT_TRUE(SaveXMLFile(element("root", {textElement("t", text)}), folder.file("t.xml")));
    EXPECT_EQ(readFileBytes(folder.file("t.xml")),
              DECLARATION + "<root><t>a&lt;b&amp;c&gt;d&#13;\ne&#13;f\t</t></root>");
    EXPECT_EQ(describeTree(LoadXMLFile(folder.file("t.xml"))), "root{t{#text\"" + text + "\"}}");
}

TEST(XmlSaving, TreesXmlCannotHoldFailAndWriteNothing) {
    struct FailCase {
        const char* what;
        XMLNodesPtr root;
    };
    const FailCase cases[] = {
        {"empty name", element("root", {textElement("", "1")})},
        {"empty first text makes a #text element",
         element("root", {element("x", {makeTextNode("")})})},
        {"name with a space", element("root", {textElement("a b", "1")})},
        {"name starting with a digit", element("root", {textElement("1a", "1")})},
        {"bad root name", textElement("ro ot", "1")},
        {"control character in text", element("root", {textElement("x", "a\x01")})},
        {"invalid Shift_JIS in text", element("root", {textElement("x", "\x83")})},
    };
    TempFolder folder;
    for (const FailCase& c : cases) {
        const std::string path = folder.file("fail.xml");
        EXPECT_FALSE(SaveXMLFile(c.root, path)) << c.what;
        EXPECT_FALSE(fileExists(path)) << c.what;
    }
    EXPECT_FALSE(SaveXMLFile(nullptr, folder.file("null.xml")));
    EXPECT_FALSE(SaveXMLFile(element("root", {}), folder.file("missing/out.xml")));
}

// A save over an earlier, longer file leaves exactly what a save to a new
// file gives: nothing of the old file remains.
TEST(XmlSaving, SavingOverAnEarlierFileGivesTheNewTreeOnly) {
    TempFolder folder;
    const XMLNodesPtr longer =
        element("root", {textElement("x", "12345"), textElement("name", "a long stage name")});
    const XMLNodesPtr shorter = element("root", {textElement("x", "1")});
    ASSERT_TRUE(SaveXMLFile(shorter, folder.file("fresh.xml")));
    ASSERT_TRUE(SaveXMLFile(longer, folder.file("a.xml")));
    ASSERT_TRUE(SaveXMLFile(shorter, folder.file("a.xml")));
    EXPECT_EQ(readFileBytes(folder.file("a.xml")), readFileBytes(folder.file("fresh.xml")));
}

// Random trees the saver can write: text elements with non-blank text, and
// containers of elements. Saved and loaded again, they come back unchanged.
XMLNodesPtr randomTree(std::mt19937& random, int depth) {
    static const std::vector<std::string> names = {
        "x", "name", "rank1", "a.b", "_c-d", "e:f", sjis(u8"名前"), sjis(u8"ステージ")};
    static const std::vector<std::string> pieces = {"1",
                                                    "-42",
                                                    "<",
                                                    ">",
                                                    "&",
                                                    "&amp;",
                                                    "\"",
                                                    "'",
                                                    " ",
                                                    "\t",
                                                    "\r\n",
                                                    "]]>",
                                                    sjis(u8"森"),
                                                    sjis(u8"ステージ１"),
                                                    sjis(u8"ー～"),
                                                    "abc"};
    const std::string& name = names[random() % names.size()];
    if (depth > 3 || random() % 2) {
        std::string text = "v";
        for (int i = random() % 5; i > 0; --i) text += pieces[random() % pieces.size()];
        if (random() % 2) text = " " + text;
        return textElement(name, text);
    }
    XMLNodesList children;
    for (int i = random() % 4; i > 0; --i) children.push_back(randomTree(random, depth + 1));
    return element(name, children);
}

TEST(XmlRoundTrip, RandomTreesComeBackUnchanged) {
    std::mt19937 random(99);
    TempFolder folder;
    for (int trial = 0; trial < 300; ++trial) {
        const XMLNodesPtr tree = randomTree(random, 0);
        const std::string path = folder.file("round.xml");
        ASSERT_TRUE(SaveXMLFile(tree, path)) << describeTree(tree);
        ASSERT_EQ(describeTree(LoadXMLFile(path)), describeTree(tree));
    }
}

}  // namespace
