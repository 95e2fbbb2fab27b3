// Bytes in, tree or nothing out. A tree that the saver can write is read back
// exactly as the saver interprets it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "xml/xml_loading.h"
#include "xml/xml_saving.h"

namespace {

int depthOf(const XMLNodesPtr& node) {
    int deepest = 0;
    for (const XMLNodesPtr& child : node->getChildren())
        deepest = std::max(deepest, depthOf(child));
    return deepest + 1;
}

// What loading the saved file must give: a node whose first child has text
// becomes an element with that text (none if it is blank); any other node an
// element of its element children.
std::string asSaved(const XMLNodesPtr& node) {
    const XMLNodesList children = node->getChildren();
    std::string text = node->getName() + "{";
    if (!children.empty() && !children.front()->getText().empty()) {
        const std::string value = children.front()->getText();
        if (value.find_first_not_of(" \t\r\n") != std::string::npos)
            text += "#text\"" + value + "\"";
    } else {
        for (size_t i = 0; i < children.size(); ++i) text += (i ? "," : "") + asSaved(children[i]);
    }
    return text + "}";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const XMLNodesPtr tree = LoadXMLBytes(std::string(reinterpret_cast<const char*>(data), size));
    if (!tree) return 0;
    FUZZ_CHECK(depthOf(tree) <= MAX_XML_DEPTH);
    const auto saved = SerializeXMLDocument(tree);
    if (!saved) return 0;
    const XMLNodesPtr reloaded = LoadXMLBytes(saved.value());
    FUZZ_CHECK(reloaded != nullptr);
    FUZZ_CHECK(asSaved(reloaded) == asSaved(tree));
    return 0;
}
