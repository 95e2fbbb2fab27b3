// libxml2 as an independent judge of our XML reader: whether a document is
// well-formed and, if so, the tree a DOM would give for its root element.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The tree in describeTree's notation (strings in the ANSI code page), or
// nullopt when libxml2 refuses the document.
std::optional<std::string> describeWithLibxml2(std::string_view bytes);

// The documents on which our reader and libxml2 may rightly disagree, with
// the reason: on accepting them, or (treeOnly) on the tree of a document
// both accept. Returns the reason that applies to `bytes`, or nullptr.
const char* knownDifference(std::string_view bytes, bool treeOnly = false);
