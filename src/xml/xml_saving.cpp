#include "xml/xml_saving.h"

#include "system/code_page.h"
#include "system/file_system.h"
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

Failure cannotWrite(std::string reason) {
    return {FailureKind::WriteFailed, "", 0, 0, std::move(reason)};
}

// Writes one element and everything below it, in UTF-8.
Result<void> appendElement(std::string& out, const XMLNodes& node, int depth) {
    if (depth > MAX_XML_DEPTH) return cannotWrite("elements nested deeper than 1000 levels");
    const auto name = CodePageToUtf8(CodePage::Ansi, node.getName());
    if (!name || !IsXmlName(*name)) return cannotWrite("an element name that XML cannot carry");
    const XMLNodesList children = node.getChildren();
    if (children.empty()) {
        out += '<' + *name + "/>";
        return {};
    }
    out += '<' + *name + '>';
    const std::string firstText = children.front()->getText();
    if (!firstText.empty()) {
        const auto text = CodePageToUtf8(CodePage::Ansi, firstText);
        if (!text || !IsXmlCharData(*text))
            return cannotWrite("the text of <" + *name + "> holds characters XML cannot carry");
        appendEscapedText(out, *text);
    } else {
        for (const XMLNodesPtr& child : children)
            if (auto appended = appendElement(out, *child, depth + 1); !appended) return appended;
    }
    out += "</" + *name + '>';
    return {};
}

}  // namespace

Result<std::string> SerializeXMLDocument(const XMLNodesPtr& root) {
    if (!root) return cannotWrite("no document");
    std::string utf8 = "<?xml " + XML_DECLARATION_DATA + "?>";
    if (auto appended = appendElement(utf8, *root, 1); !appended) return appended.failure();
    return Utf8ToCodePage(CodePage::ShiftJis, utf8);
}

bool SaveXMLFile(XMLNodesPtr root, std::string path) {
    const auto document = SerializeXMLDocument(root);
    return document && WriteWholeFile(path, document.value()).ok();
}
