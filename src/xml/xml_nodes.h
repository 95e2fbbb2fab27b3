// The program's own XML tree. An element does not carry its text itself: its
// value is a child node named "#text", as in a DOM.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct XMLNodes;
using XMLNodesPtr = std::shared_ptr<XMLNodes>;
using XMLNodesList = std::vector<XMLNodesPtr>;

inline const std::string TEXT_NODE_NAME = "#text";

// Where a loaded node starts in its file: 1-based line and column, the column
// in characters; 0 for nodes that were built, not loaded.
struct TextPosition {
    int line = 0;
    int column = 0;
};

struct XMLNodes {
    XMLNodes(std::string nodeName, std::string nodeText);

    std::string getName() const { return name; }
    std::string getText() const { return text; }
    // A snapshot: later appends do not show in it, and changing it does not
    // change the node.
    XMLNodesList getChildren() const { return children; }
    void addChildren(XMLNodesList newChildren);

    // Set at construction and never changed; children are only appended.
    const std::string name;
    const std::string text;
    TextPosition position;

  private:
    XMLNodesList children;
};

XMLNodesPtr makeNode(const std::string& name, const std::string& text);
XMLNodesPtr makeElementNode(const std::string& name);
XMLNodesPtr makeTextNode(std::string text);
// A text node holding exactly one space, for elements that must not be empty.
XMLNodesPtr makeBlankTextNode();
