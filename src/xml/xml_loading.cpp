#include "xml/xml_loading.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <new>
#include <optional>
#include <vector>

#include "system/code_page.h"
#include "system/file_system.h"
#include "xml/unicode_text.h"

namespace {

// An element being read: its node and the children found so far.
struct OpenElement {
    XMLNodesPtr node;
    XMLNodesList children;
};

// Everything the parser's callbacks share during one load.
struct LoadState {
    XML_Parser parser = nullptr;
    XMLNodesPtr root;
    std::vector<OpenElement> open;  // the path from the root to the current element
    std::string text;               // character data since the last markup
    TextPosition textStart;
    bool inCdata = false;
    bool outOfMemory = false;
    std::optional<Failure> failure;  // set by a callback that stops the parser
    std::string encodingName;
    // Code points of two-byte Shift_JIS sequences met so far (UNCONVERTED
    // where not yet asked): a conversion through the code page is slow one
    // by one, and a file repeats its characters.
    std::vector<int> shiftJisCache;
};

TextPosition currentPosition(XML_Parser parser) {
    return {static_cast<int>(XML_GetCurrentLineNumber(parser)),
            static_cast<int>(XML_GetCurrentColumnNumber(parser)) + 1};
}

Failure failureAt(XML_Parser parser, FailureKind kind, std::string detail) {
    const TextPosition at = currentPosition(parser);
    return {kind, "", at.line, at.column, std::move(detail)};
}

void stopWith(LoadState& state, FailureKind kind, std::string detail) {
    state.failure = failureAt(state.parser, kind, std::move(detail));
    XML_StopParser(state.parser, XML_FALSE);
}

// Runs one callback's work. Expat is C: no exception may cross it, so an
// allocation failure stops the parser and is raised again after it returns.
template <typename Work>
void guarded(void* data, Work work) {
    LoadState& state = *static_cast<LoadState*>(data);
    try {
        work(state);
    } catch (const std::bad_alloc&) {
        state.outOfMemory = true;
        XML_StopParser(state.parser, XML_FALSE);
    }
}

std::string toAnsi(const XML_Char* utf8) { return Utf8ToCodePage(CodePage::Ansi, utf8); }
std::string toAnsi(const std::string& utf8) { return Utf8ToCodePage(CodePage::Ansi, utf8); }

bool isWhiteSpaceOnly(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Only what lies inside the document element becomes part of the tree.
void appendChild(LoadState& state, XMLNodesPtr node, TextPosition at) {
    if (state.open.empty()) return;
    node->position = at;
    state.open.back().children.push_back(std::move(node));
}

// Character data ends at the next markup; text of white space only is
// dropped, as a DOM that does not preserve white space drops it.
void flushText(LoadState& state) {
    if (state.text.empty()) return;
    if (!isWhiteSpaceOnly(state.text))
        appendChild(state, makeTextNode(toAnsi(state.text)), state.textStart);
    state.text.clear();
}

void XMLCALL onStartElement(void* data, const XML_Char* name, const XML_Char**) {
    guarded(data, [&](LoadState& state) {
        flushText(state);
        if (static_cast<int>(state.open.size()) >= MAX_XML_DEPTH) {
            stopWith(state, FailureKind::NestedTooDeep, "elements nested too deeply");
            return;
        }
        XMLNodesPtr node = makeElementNode(toAnsi(name));
        node->position = currentPosition(state.parser);
        state.open.push_back({node, {}});
    });
}

void XMLCALL onEndElement(void* data, const XML_Char*) {
    guarded(data, [&](LoadState& state) {
        flushText(state);
        OpenElement closed = std::move(state.open.back());
        state.open.pop_back();
        closed.node->addChildren(std::move(closed.children));
        if (state.open.empty())
            state.root = closed.node;
        else
            state.open.back().children.push_back(closed.node);
    });
}

void XMLCALL onCharacterData(void* data, const XML_Char* text, int length) {
    guarded(data, [&](LoadState& state) {
        if (state.text.empty() && !state.inCdata) state.textStart = currentPosition(state.parser);
        state.text.append(text, static_cast<size_t>(length));
    });
}

void XMLCALL onStartCdata(void* data) {
    guarded(data, [&](LoadState& state) {
        flushText(state);
        state.textStart = currentPosition(state.parser);
        state.inCdata = true;
    });
}

void XMLCALL onEndCdata(void* data) {
    guarded(data, [&](LoadState& state) {
        // A CDATA section is kept whatever it holds, blank or empty.
        appendChild(state, makeNode("#cdata-section", toAnsi(state.text)), state.textStart);
        state.text.clear();
        state.inCdata = false;
    });
}

void XMLCALL onComment(void* data, const XML_Char* text) {
    guarded(data, [&](LoadState& state) {
        flushText(state);
        appendChild(state, makeNode("#comment", toAnsi(text)), currentPosition(state.parser));
    });
}

void XMLCALL onProcessingInstruction(void* data, const XML_Char* target,
                                     const XML_Char* instruction) {
    guarded(data, [&](LoadState& state) {
        flushText(state);
        appendChild(state, makeNode(toAnsi(target), toAnsi(instruction)),
                    currentPosition(state.parser));
    });
}

// Expat takes any version number; XML 1.0 allows "1." and digits only.
void XMLCALL onXmlDeclaration(void* data, const XML_Char* version, const XML_Char*, int) {
    guarded(data, [&](LoadState& state) {
        if (!version) return;
        const std::string_view number(version);
        const bool valid = number.size() > 2 && number.substr(0, 2) == "1." &&
                           number.find_first_not_of("0123456789", 2) == std::string_view::npos;
        if (!valid)
            stopWith(state, FailureKind::NotWellFormed,
                     "XML declaration with version '" + std::string(number) + "'");
    });
}

// External entities are never fetched, and leaving their text out would
// change the document silently: the load is refused.
int XMLCALL onExternalEntity(XML_Parser parser, const XML_Char*, const XML_Char*, const XML_Char*,
                             const XML_Char*) {
    LoadState& state = *static_cast<LoadState*>(XML_GetUserData(parser));
    state.failure =
        failureAt(parser, FailureKind::ExternalEntity, "reference to an external entity");
    return XML_STATUS_ERROR;
}

// An entity the parser may skip (declared in an external subset it does not
// read) would likewise vanish from the text.
void XMLCALL onSkippedEntity(void* data, const XML_Char* name, int) {
    guarded(data, [&](LoadState& state) {
        stopWith(state, FailureKind::ExternalEntity,
                 std::string("reference to entity '") + name + "' declared outside the file");
    });
}

// --- Encodings Expat does not know by itself -------------------------------

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool isOneOf(const std::string& name, std::initializer_list<const char*> aliases) {
    return std::any_of(aliases.begin(), aliases.end(),
                       [&](const char* alias) { return name == alias; });
}

// The one code point that `bytes` stand for in code page 932, or -1.
int shiftJisCodePoint(std::string_view bytes) {
    const auto utf8 = CodePageToUtf8(CodePage::ShiftJis, bytes);
    if (!utf8) return -1;
    const auto codePoints = decodeUtf8(*utf8);
    if (!codePoints || codePoints->size() != 1) return -1;
    return static_cast<int>(codePoints->front());
}

constexpr int UNCONVERTED = -2;

int XMLCALL convertShiftJis(void* data, const char* sequence) {
    LoadState& state = *static_cast<LoadState*>(data);
    const size_t key =
        static_cast<unsigned char>(sequence[0]) << 8 | static_cast<unsigned char>(sequence[1]);
    int& codePoint = state.shiftJisCache[key];
    if (codePoint != UNCONVERTED) return codePoint;
    try {
        return codePoint = shiftJisCodePoint(std::string_view(sequence, 2));
    } catch (const std::bad_alloc&) {
        state.outOfMemory = true;  // raised again once the parser has returned
        return -1;
    }
}

int XMLCALL convertUtf8(void*, const char* sequence) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const auto codePoints = decodeUtf8(std::string_view(sequence, length));
    return codePoints && codePoints->size() == 1 ? static_cast<int>(codePoints->front()) : -1;
}

void fillShiftJisMap(XML_Encoding& info) {
    for (int byte = 0; byte < 256; ++byte) {
        if (IsShiftJisLeadByte(byte))
            info.map[byte] = -2;
        else
            info.map[byte] = byte < 0x80 ? byte : shiftJisCodePoint(std::string(1, char(byte)));
    }
}

void fillUtf8Map(XML_Encoding& info) {
    for (int byte = 0; byte < 256; ++byte)
        info.map[byte] = byte < 0x80                    ? byte
                         : byte >= 0xC2 && byte <= 0xDF ? -2
                         : byte >= 0xE0 && byte <= 0xEF ? -3
                         : byte >= 0xF0 && byte <= 0xF4 ? -4
                                                        : -1;
}

// Code page 932 under its common names, and the spellings of UTF-8, ASCII and
// Latin-1 that Expat does not know by itself.
int describeEncoding(LoadState& state, const std::string& name, XML_Encoding* info) {
    info->data = &state;
    info->convert = nullptr;
    info->release = nullptr;
    if (isOneOf(name, {"SHIFT_JIS", "SHIFT-JIS", "SJIS", "MS_KANJI", "CP932", "WINDOWS-31J"})) {
        state.shiftJisCache.assign(1 << 16, UNCONVERTED);
        fillShiftJisMap(*info);
        info->convert = convertShiftJis;
    } else if (isOneOf(name, {"UTF8"})) {
        fillUtf8Map(*info);
        info->convert = convertUtf8;
    } else if (isOneOf(name, {"ASCII"})) {
        for (int byte = 0; byte < 256; ++byte) info->map[byte] = byte < 0x80 ? byte : -1;
    } else if (isOneOf(name, {"LATIN1", "ISO_8859-1"})) {
        for (int byte = 0; byte < 256; ++byte) info->map[byte] = byte;
    } else {
        return XML_STATUS_ERROR;
    }
    return XML_STATUS_OK;
}

int XMLCALL onUnknownEncoding(void* data, const XML_Char* declared, XML_Encoding* info) {
    LoadState& state = *static_cast<LoadState*>(data);
    try {
        state.encodingName = declared;
        return describeEncoding(state, upperCase(declared), info);
    } catch (const std::bad_alloc&) {
        state.outOfMemory = true;
        return XML_STATUS_ERROR;
    }
}

// --- One parse ---------------------------------------------------------------

Failure parserFailure(const LoadState& state) {
    if (state.failure) return *state.failure;
    const XML_Error code = XML_GetErrorCode(state.parser);
    if (code == XML_ERROR_UNKNOWN_ENCODING)
        return failureAt(state.parser, FailureKind::UnknownEncoding, state.encodingName);
    return failureAt(state.parser, FailureKind::NotWellFormed, XML_ErrorString(code));
}

void installHandlers(XML_Parser parser, LoadState& state) {
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, onStartElement, onEndElement);
    XML_SetCharacterDataHandler(parser, onCharacterData);
    XML_SetCdataSectionHandler(parser, onStartCdata, onEndCdata);
    XML_SetCommentHandler(parser, onComment);
    XML_SetXmlDeclHandler(parser, onXmlDeclaration);
    XML_SetProcessingInstructionHandler(parser, onProcessingInstruction);
    XML_SetExternalEntityRefHandler(parser, onExternalEntity);
    XML_SetSkippedEntityHandler(parser, onSkippedEntity);
    XML_SetUnknownEncodingHandler(parser, onUnknownEncoding, &state);
    // Parameter entities (and with them any external DTD) are never read;
    // Expat's limits on entity amplification stay at their defaults.
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

struct ParserDeleter {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

}  // namespace

Result<XMLNodesPtr> ReadXMLBytes(std::string_view bytes) {
    LoadState state;
    std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate(nullptr));
    if (!parser) throw std::bad_alloc();
    state.parser = parser.get();
    installHandlers(parser.get(), state);
    const XML_Status status =
        XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE);
    if (state.outOfMemory || XML_GetErrorCode(parser.get()) == XML_ERROR_NO_MEMORY)
        throw std::bad_alloc();
    if (status != XML_STATUS_OK) return parserFailure(state);
    return state.root;
}

Result<XMLNodesPtr> ReadXMLFile(const std::string& path) {
    const Result<std::string> bytes = ReadWholeFile(path, MAX_XML_FILE_BYTES);
    if (!bytes) return bytes.failure();
    auto read = ReadXMLBytes(bytes.value());
    if (!read) return InFile(read.failure(), path);
    return read;
}

namespace {

XMLNodesPtr treeOrNothing(const Result<XMLNodesPtr>& read) { return read ? read.value() : nullptr; }

}  // namespace

XMLNodesPtr LoadXMLFile(std::string path) { return treeOrNothing(ReadXMLFile(path)); }

XMLNodesPtr LoadXMLBytes(std::string_view bytes) { return treeOrNothing(ReadXMLBytes(bytes)); }
