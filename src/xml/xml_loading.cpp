#include "xml/xml_loading.h"

#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <vector>

#include "document/file_output.h"
#include "xml/code_page.h"
#include "xml/xml_encoding.h"
#include "xml/xml_names.h"

namespace {

// Comments and processing instructions inside the root become nodes of their
// own; white-space-only text is dropped (pugixml's default). Fragment mode
// keeps text outside the root as nodes, so that such a document is refused.
// References in text are resolved by us (resolveReferences), so that an
// entity we cannot expand fails the load instead of arriving as "&name;".
constexpr unsigned PARSE_OPTIONS = (pugi::parse_default & ~pugi::parse_escapes) |
                                   pugi::parse_comments | pugi::parse_pi | pugi::parse_fragment;

// The name the tree gives a node of each kind, or nullopt for kinds that do
// not appear inside an element.
std::optional<std::string> nodeName(const pugi::xml_node& node) {
    switch (node.type()) {
        case pugi::node_element:
        case pugi::node_pi:
            return std::string(node.name());
        case pugi::node_pcdata:
            return TEXT_NODE_NAME;
        case pugi::node_cdata:
            return std::string("#cdata-section");
        case pugi::node_comment:
            return std::string("#comment");
        default:
            return std::nullopt;
    }
}

bool isWhiteSpaceOnly(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Converts one parsed node without its children. Sets `failed` if it holds
// characters that XML does not allow; returns null without failing for text
// that is white space only once its references are resolved (such text is
// dropped, as the parser drops it when written out).
XMLNodesPtr convertNode(const pugi::xml_node& node, bool& failed) {
    const auto name = nodeName(node);
    std::optional<std::string> value = std::string(node.value());
    if (node.type() == pugi::node_element) value = "";
    if (node.type() == pugi::node_pcdata) value = resolveReferences(*value);
    failed = !name || !value || !isXmlCharData(*name) || !isXmlCharData(*value);
    if (failed || (node.type() == pugi::node_pcdata && isWhiteSpaceOnly(*value))) return nullptr;
    return makeNode(utf8ToCodePage(CodePage::Ansi, *name), utf8ToCodePage(CodePage::Ansi, *value));
}

// The root element, if the document has exactly one and nothing but markup
// around it.
std::optional<pugi::xml_node> documentElement(const pugi::xml_document& document) {
    std::optional<pugi::xml_node> root;
    for (const pugi::xml_node& node : document.children()) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) return {};
        if (node.type() != pugi::node_element) continue;
        if (root) return {};
        root = node;
    }
    return root;
}

// Walks the parsed document without recursion, so the depth of the file
// cannot exhaust the stack; depth is still bounded for the tree's sake.
XMLNodesPtr convertTree(const pugi::xml_node& rootElement) {
    bool failed = false;
    XMLNodesPtr root = convertNode(rootElement, failed);
    if (!root) return nullptr;
    struct Pending {
        pugi::xml_node source;
        XMLNodesPtr target;
        int depth;
    };
    std::vector<Pending> pending{{rootElement, root, 1}};
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        XMLNodesList children;
        for (const pugi::xml_node& child : current.source.children()) {
            XMLNodesPtr converted = convertNode(child, failed);
            if (failed) return nullptr;
            if (!converted) continue;
            if (child.first_child()) {
                if (current.depth + 1 > MAX_XML_DEPTH) return nullptr;
                pending.push_back({child, converted, current.depth + 1});
            }
            children.push_back(std::move(converted));
        }
        current.target->addChildren(std::move(children));
    }
    return root;
}

}  // namespace

XMLNodesPtr LoadXMLBytes(std::string_view bytes) {
    const auto utf8 = decodeXmlToUtf8(bytes);
    if (!utf8) return nullptr;
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(utf8->data(), utf8->size(), PARSE_OPTIONS, pugi::encoding_utf8);
    if (!parsed) return nullptr;
    const auto rootElement = documentElement(document);
    if (!rootElement) return nullptr;
    return convertTree(*rootElement);
}

XMLNodesPtr LoadXMLFile(std::string path) {
    std::string bytes;
    if (!readWholeFile(path, MAX_XML_FILE_BYTES, bytes)) return nullptr;
    return LoadXMLBytes(bytes);
}
