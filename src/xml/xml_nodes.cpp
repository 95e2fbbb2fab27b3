#include "xml/xml_nodes.h"

#include <utility>

XMLNodes::XMLNodes(std::string nodeName, std::string nodeText)
    : name(std::move(nodeName)), text(std::move(nodeText)) {}

void XMLNodes::addChildren(XMLNodesList newChildren) {
    children.insert(children.end(), newChildren.begin(), newChildren.end());
}

XMLNodesPtr makeNode(const std::string& name, const std::string& text) {
    return std::make_shared<XMLNodes>(name, text);
}

XMLNodesPtr makeElementNode(const std::string& name) { return makeNode(name, ""); }

XMLNodesPtr makeTextNode(std::string text) {
    return std::make_shared<XMLNodes>(TEXT_NODE_NAME, std::move(text));
}

XMLNodesPtr makeBlankTextNode() { return makeTextNode(" "); }
