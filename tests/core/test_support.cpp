#include "test_support.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "system/code_page.h"

namespace fs = std::filesystem;

std::string sjis(const char* utf8) { return Utf8ToCodePage(CodePage::ShiftJis, utf8); }

std::string testDataPath(const std::string& name) {
    if (const char* folder = std::getenv("KALMIA_TEST_DATA"))
        return std::string(folder) + "/" + name;
    return "tests/data/" + name;
}

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

bool fileExists(const std::string& path) { return fs::exists(fs::path(path)); }

void makeFolder(const std::string& path) { fs::create_directories(fs::path(path)); }

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const fs::path base = fs::temp_directory_path();
    while (true) {
        const fs::path candidate =
            base / ("kalmia-test-" + std::to_string(std::rand()) + "-" + std::to_string(counter++));
        if (fs::create_directory(candidate)) {
            folder = candidate.string();
            return;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(fs::path(folder), ignored);
}

std::string TempFolder::file(const std::string& name) const {
    return (fs::path(folder) / name).string();
}

std::string describeTree(const XMLNodesPtr& node) {
    if (!node) return "<empty>";
    std::string text = node->getName();
    if (!node->getText().empty()) text += "\"" + node->getText() + "\"";
    const XMLNodesList children = node->getChildren();
    if (node->getText().empty() || !children.empty()) {
        text += "{";
        for (size_t i = 0; i < children.size(); ++i)
            text += (i ? "," : "") + describeTree(children[i]);
        text += "}";
    }
    return text;
}

std::string rowsOf(const MapDocument& document) {
    std::string text;
    for (const CellRow& row : document.cells) {
        for (auto cell : row) text += cell ? '1' : '0';
        text += '|';
    }
    return text;
}
