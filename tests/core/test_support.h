// Helpers shared by the core tests, natively and in the Windows test build.
#pragma once

#include <string>

#include "document/map_document.h"
#include "xml/xml_nodes.h"

// Japanese test texts are written as UTF-8 literals and turned into the
// program's narrow strings (code page 932) here.
std::string sjis(const char* utf8);

// A file of tests/data.
std::string testDataPath(const std::string& name);

std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
void makeFolder(const std::string& path);

// A fresh empty folder for one test, removed with everything in it when the
// object goes away. path() ends without a separator; file(name) joins one.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return folder; }
    std::string file(const std::string& name) const;

  private:
    std::string folder;
};

// The cells of a map as text, one "0"/"1" run per row, each closed by "|".
std::string rowsOf(const MapDocument& document);

// The shape of a tree as one line, for comparing trees in tests:
// root{x{#text"10"},name{}}.
std::string describeTree(const XMLNodesPtr& node);
