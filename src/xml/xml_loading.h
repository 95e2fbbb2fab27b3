// Reads an XML document into an XMLNodes tree with Expat, a conforming,
// non-validating XML 1.0 parser. A document that is not well-formed is
// refused with the parser's reason and the place it stopped.
#pragma once

#include <string>
#include <string_view>

#include "system/failure.h"
#include "xml/xml_nodes.h"

// Documents nested deeper than this are refused: the tree is released
// recursively, and a hostile file must not be able to exhaust the stack.
constexpr int MAX_XML_DEPTH = 1000;

// Parameter files larger than this are refused instead of read into memory.
constexpr long long MAX_XML_FILE_BYTES = 64LL * 1024 * 1024;

// The tree of the document element, or why the file was refused: the
// Failure's line and column are 1-based, the column counted in characters of
// the file as stored (0 where no place applies), and its detail is the
// parser's own words (English) or the encoding's name.
Result<XMLNodesPtr> ReadXMLFile(const std::string& path);
Result<XMLNodesPtr> ReadXMLBytes(std::string_view bytes);

// The tree of the document element, or an empty pointer if the file cannot
// be read, is not well-formed, or uses an encoding we do not know.
XMLNodesPtr LoadXMLFile(std::string path);

// The same for a document already in memory.
XMLNodesPtr LoadXMLBytes(std::string_view bytes);
