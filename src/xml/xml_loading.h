// Reads an XML document into an XMLNodes tree.
#pragma once

#include <string>
#include <string_view>

#include "xml/xml_nodes.h"

// Documents nested deeper than this are refused: the tree is released
// recursively, and a hostile file must not be able to exhaust the stack.
constexpr int MAX_XML_DEPTH = 1000;

// Parameter files larger than this are refused instead of read into memory.
constexpr long long MAX_XML_FILE_BYTES = 64LL * 1024 * 1024;

// The tree of the document element, or an empty pointer if the file cannot
// be read, is not well-formed, or uses an encoding we do not know.
XMLNodesPtr LoadXMLFile(std::string path);

// The same for a document already in memory.
XMLNodesPtr LoadXMLBytes(std::string_view bytes);
