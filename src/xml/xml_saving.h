// Writes an XMLNodes tree as a Shift_JIS XML document.
#pragma once

#include <string>

#include "system/failure.h"
#include "xml/xml_nodes.h"

inline const std::string XML_DECLARATION_DATA = "version='1.0' encoding='SHIFT_JIS'";

// The whole document in Shift_JIS: the declaration, then the root element with
// no white space of our own. A node whose first child has non-empty text is an
// element with that text; any other node is a container of child elements.
// Fails when a name is not an XML name, a text holds characters XML cannot
// carry, or the tree is deeper than the loader would accept.
Result<std::string> SerializeXMLDocument(const XMLNodesPtr& root);

// True when the whole file has been written. The file is created only once the
// document is complete, so a tree that cannot be written leaves nothing behind.
bool SaveXMLFile(XMLNodesPtr root, std::string path);
