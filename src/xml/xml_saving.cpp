#include "xml/xml_saving.h"

#include "system/code_page.h"
#include "system/file_output.h"
#include "xml/xml_loading.h"
#include "xml/xml_names.h"

namespace {

// Markup characters become references; so does carriage return, which a
// parser would otherwise turn into a line feed.
void appendEscapedText(std::string& out, const std::string& utf8) {
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                out += c;
        }
    }
}

// Writes one element and everything below it, in UTF-8.
bool appendElement(std::string& out, const XMLNodes& node, int depth) {
    const auto name = CodePageToUtf8(CodePage::Ansi, node.getName());
    if (depth > MAX_XML_DEPTH || !name || !IsXmlName(*name)) return false;
    const XMLNodesList children = node.getChildren();
    if (children.empty()) {
        out += '<' + *name + "/>";
        return true;
    }
    out += '<' + *name + '>';
    const std::string firstText = children.front()->getText();
    if (!firstText.empty()) {
        const auto text = CodePageToUtf8(CodePage::Ansi, firstText);
        if (!text || !IsXmlCharData(*text)) return false;
        appendEscapedText(out, *text);
    } else {
        for (const XMLNodesPtr& child : children)
            if (!appendElement(out, *child, depth + 1)) return false;
    }
    out += "</" + *name + '>';
    return true;
}

}  // namespace

std::optional<std::string> SerializeXMLDocument(const XMLNodesPtr& root) {
    if (!root) return std::nullopt;
    std::string utf8 = "<?xml " + XML_DECLARATION_DATA + "?>";
    if (!appendElement(utf8, *root, 1)) return std::nullopt;
    return Utf8ToCodePage(CodePage::ShiftJis, utf8);
}

bool SaveXMLFile(XMLNodesPtr root, std::string path) {
    const auto document = SerializeXMLDocument(root);
    return document && WriteWholeFile(path, *document);
}
