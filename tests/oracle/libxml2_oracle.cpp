#include "libxml2_oracle.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <iconv.h>

#include <memory>
#include <regex>

#include "system/code_page.h"
#include "xml/xml_loading.h"

namespace {

std::string ansi(const xmlChar* utf8) {
    return utf8 ? Utf8ToCodePage(CodePage::Ansi, reinterpret_cast<const char*>(utf8)) : "";
}

std::string qualifiedName(const xmlNode* node) {
    std::string name = reinterpret_cast<const char*>(node->name);
    if (node->ns && node->ns->prefix)
        name = reinterpret_cast<const char*>(node->ns->prefix) + (":" + name);
    return Utf8ToCodePage(CodePage::Ansi, name);
}

// A leaf in describeTree's notation: name"text", or name{} without text.
std::string leaf(const std::string& name, const xmlChar* content) {
    const std::string text = ansi(content);
    return name + (text.empty() ? "{}" : "\"" + text + "\"");
}

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string describeElement(const xmlNode* element);

// Children as a DOM without white-space preservation lists them: adjacent
// text (also from expanded entities) is one node, blank text is dropped.
void describeChildren(const xmlNode* first, std::string& out, bool& firstItem, std::string& text) {
    auto flushText = [&] {
        if (!text.empty() && !isBlank(text)) {
            out += (firstItem ? "" : ",") + std::string("#text\"") +
                   Utf8ToCodePage(CodePage::Ansi, text) + "\"";
            firstItem = false;
        }
        text.clear();
    };
    auto item = [&](const std::string& described) {
        flushText();
        out += (firstItem ? "" : ",") + described;
        firstItem = false;
    };
    for (const xmlNode* node = first; node; node = node->next) {
        switch (node->type) {
            case XML_TEXT_NODE:
                if (node->content) text += reinterpret_cast<const char*>(node->content);
                break;
            case XML_ELEMENT_NODE:
                item(describeElement(node));
                break;
            case XML_CDATA_SECTION_NODE:
                item(leaf("#cdata-section", node->content));
                break;
            case XML_COMMENT_NODE:
                item(leaf("#comment", node->content));
                break;
            case XML_PI_NODE:
                item(leaf(qualifiedName(node), node->content));
                break;
            case XML_ENTITY_REF_NODE:
                describeChildren(node->children, out, firstItem, text);
                break;
            default:
                break;
        }
    }
    flushText();
}

std::string describeElement(const xmlNode* element) {
    std::string out = qualifiedName(element) + "{";
    bool firstItem = true;
    std::string text;
    describeChildren(element->children, out, firstItem, text);
    return out + "}";
}

// Nothing outside the document is ever read.
xmlParserInputPtr refuseExternal(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

void ignoreErrors(void*, const char*, ...) {}

}  // namespace

std::optional<std::string> describeWithLibxml2(std::string_view bytes) {
    xmlSetExternalEntityLoader(refuseExternal);
    xmlSetGenericErrorFunc(nullptr, ignoreErrors);
    const int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> document(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, options),
        xmlFreeDoc);
    if (!document) return std::nullopt;
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (!root) return std::nullopt;
    return describeElement(root);
}

namespace {

struct KnownDifference {
    bool (*applies)(std::string_view bytes);
    bool treeOnly;
    const char* reason;
};

bool holdsNul(std::string_view bytes) { return bytes.find('\0') != std::string_view::npos; }

bool refersOutside(std::string_view bytes) {
    static const std::regex external("SYSTEM|PUBLIC");
    return std::regex_search(bytes.begin(), bytes.end(), external);
}

bool hasAdjacentCdata(std::string_view bytes) {
    return bytes.find("]]><![CDATA[") != std::string_view::npos;
}

bool declaresForeignEncoding(std::string_view bytes) {
    static const std::regex foreign(
        "encoding[ \\t\\r\\n]*=[ "
        "\\t\\r\\n]*['\"](?!(UTF-8|UTF-16|US-ASCII|ISO-8859-1|Shift_JIS)['\"])",
        std::regex::icase);
    return std::regex_search(bytes.begin(), bytes.end(), foreign);
}

// How many bytes iconv converts from `encoding` before the first it cannot
// (all of them when it converts everything).
size_t decodablePrefix(const char* encoding, std::string_view bytes) {
    iconv_t handle = iconv_open("UTF-8", encoding);
    if (handle == reinterpret_cast<iconv_t>(-1)) return 0;
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* to = out.data();
    size_t outLeft = out.size();
    iconv(handle, &in, &inLeft, &to, &outLeft);
    iconv_close(handle);
    return bytes.size() - inLeft;
}

bool declaresShiftJis(std::string_view bytes) {
    static const std::regex shiftJis("encoding[ \\t\\r\\n]*=[ \\t\\r\\n]*['\"]Shift_JIS['\"]",
                                     std::regex::icase);
    return std::regex_search(bytes.begin(), bytes.end(), shiftJis);
}

// The document up to the first byte its encoding cannot decode is already
// complete: libxml2 stops converting there and keeps it.
bool undecodableAfterCompleteDocument(std::string_view bytes) {
    const size_t prefix = decodablePrefix(declaresShiftJis(bytes) ? "CP932" : "UTF-8", bytes);
    return prefix < bytes.size() && LoadXMLBytes(bytes.substr(0, prefix)) != nullptr;
}

bool shiftJisVariantsDiffer(std::string_view bytes) {
    return declaresShiftJis(bytes) &&
           decodablePrefix("CP932", bytes) != decodablePrefix("SHIFT_JIS", bytes);
}

// libxml2 2.9 reports these as errors but still returns the document.
bool libxml2Recovers(std::string_view bytes) {
    static const std::regex lenient(
        "['\"](encoding|standalone)|<!DOCTYPE[^ \t\r\n]|version *= *['\"]1\\.['\"]");
    return std::regex_search(bytes.begin(), bytes.end(), lenient);
}

const KnownDifference KNOWN_DIFFERENCES[] = {
    {libxml2Recovers, false,
     "no space between the declaration's parts or after <!DOCTYPE, or version '1.' without "
     "digits: XML 1.0 requires them, libxml2 2.9 reports an error yet returns the document"},
    {hasAdjacentCdata, true,
     "adjacent CDATA sections: libxml2 joins them into one node, a DOM keeps each"},
    {shiftJisVariantsDiffer, false,
     "a character of code page 932's NEC or IBM extensions (such as \u2460): we read Shift_JIS "
     "as code page 932, libxml2 through iconv's narrower Shift_JIS"},
    {undecodableAfterCompleteDocument, false,
     "bytes after a complete document that its encoding cannot decode: libxml2 stops converting "
     "there and keeps the document, Expat refuses them"},
    {holdsNul, false, "a NUL byte: libxml2 stops reading at it, Expat refuses the character"},
    {refersOutside, false,
     "an external DTD or entity: we refuse text that would have to be fetched, libxml2 goes "
     "on without it"},
    {declaresForeignEncoding, false, "an encoding that libxml2 reads through iconv and we do not"},
};

}  // namespace

const char* knownDifference(std::string_view bytes, bool treeOnly) {
    for (const KnownDifference& difference : KNOWN_DIFFERENCES)
        if (difference.treeOnly == treeOnly && difference.applies(bytes)) return difference.reason;
    return nullptr;
}
