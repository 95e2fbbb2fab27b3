#include "xml_documents.h"

namespace {

template <typename T>
const T& pick(std::mt19937& random, const std::vector<T>& choices) {
    return choices[random() % choices.size()];
}

bool chance(std::mt19937& random, int percent) {
    return static_cast<int>(random() % 100) < percent;
}

const std::string ENTITY_SUBSET =
    "<!DOCTYPE root [<!ENTITY n \"stage\"><!ENTITY m \"a&#38;#38;b\"><!ENTITY e "
    "\"<b>in</b>\"><!-- subset --><?sub pi?>]>";

struct Context {
    bool entities = false;  // the internal subset declares n, m and e
    bool shiftJis = false;  // text in Shift_JIS bytes
};

std::string japanese(const Context& context) {
    // "ステージ" in Shift_JIS or UTF-8; its bytes are the same in every
    // variant of Shift_JIS, so libxml2's iconv and code page 932 agree.
    return context.shiftJis ? "\x83\x58\x83\x65\x81\x5B\x83\x57"
                            : "\xE3\x82\xB9\xE3\x83\x86\xE3\x83\xBC\xE3\x82\xB8";
}

std::string text(std::mt19937& random, const Context& context) {
    std::vector<std::string> pieces = {"12",     " ",      "\n  ",   "&amp;", "&lt;", "&gt;",
                                       "&quot;", "&apos;", "&#x41;", "&#65;", "a b",  "-3",
                                       "\t",     "&#13;",  "x]y",    ">",     "'\""};
    pieces.push_back(japanese(context));
    if (context.entities) {
        pieces.push_back("&n;");
        pieces.push_back("&m;");
        pieces.push_back("&e;");
    }
    std::string out;
    for (int i = 1 + random() % 3; i > 0; --i) out += pick(random, pieces);
    return out;
}

std::string name(std::mt19937& random, const Context& context) {
    std::vector<std::string> names = {"x", "y", "name", "rank1", "a.b", "_c-d", "e:f", "g1"};
    names.push_back(japanese(context));
    return pick(random, names);
}

std::string attributes(std::mt19937& random) {
    std::string out;
    if (chance(random, 30)) out += " unit=\"px\"";
    if (chance(random, 20)) out += " id='a&amp;b'";
    return out;
}

std::string content(std::mt19937& random, const Context& context, int depth) {
    std::string out;
    for (int i = random() % 4; i > 0; --i) {
        switch (random() % 7) {
            case 0:
                out += text(random, context);
                break;
            case 1:
                out += "<!--" + std::string(chance(random, 50) ? " note " : "") + "-->";
                break;
            case 2:
                out += "<?target data here?>";
                break;
            case 3:
                out += "<![CDATA[<raw> & " + std::string(chance(random, 30) ? "  " : "x") + "]]>";
                break;
            default: {
                const std::string tag = name(random, context);
                const std::string inner = depth < 3 ? content(random, context, depth + 1) : "";
                out += inner.empty() && chance(random, 50)
                           ? "<" + tag + attributes(random) + "/>"
                           : "<" + tag + attributes(random) + ">" + inner + "</" + tag + ">";
            }
        }
    }
    return out;
}

}  // namespace

GeneratedDocument wellFormedDocument(std::mt19937& random) {
    Context context;
    context.shiftJis = chance(random, 20);
    context.entities = chance(random, 30);
    std::string document;
    if (context.shiftJis)
        document = "<?xml version='1.0' encoding='Shift_JIS'?>";
    else
        document = pick(random, std::vector<std::string>{
                                    "", "<?xml version='1.0'?>", "<?xml version=\"1.0\" ?>",
                                    "<?xml version='1.0' encoding='UTF-8'?>",
                                    "<?xml version='1.0' encoding='utf-8' standalone='yes'?>"});
    if (chance(random, 20)) document += "\n<!-- before -->";
    if (context.entities) document += ENTITY_SUBSET;
    document += "<root" + attributes(random) + ">" + content(random, context, 0) + "</root>";
    if (chance(random, 20)) document += "<!-- after -->\n";
    return {document, ""};
}

std::vector<GeneratedDocument> brokenVariants(const std::string& document, std::mt19937& random) {
    const size_t rootAt = document.find("<root");
    const size_t contentAt = document.find('>', rootAt) + 1;
    const size_t rootEnd = document.rfind("</root>");
    auto inContent = [&](const std::string& piece) {
        std::string broken = document;
        return broken.insert(contentAt, piece);
    };
    const bool declared = document.rfind("<?xml ", 0) == 0;
    std::vector<GeneratedDocument> variants = {
        {inContent("<d a='1' a='2'/>"), "duplicate attribute"},
        {inContent("<!-- a -- b -->"), "-- inside a comment"},
        {inContent("<p></q>"), "mismatched end tag"},
        {inContent("<d a='<'/>"), "< in an attribute value"},
        {inContent("a & b"), "bare ampersand"},
        {inContent("&undefined;"), "undefined entity"},
        {inContent("&#0;"), "character reference to NUL"},
        {inContent("&#xD800;"), "character reference to a surrogate"},
        {inContent("<1a/>"), "name starting with a digit"},
        {inContent("<d a=1/>"), "unquoted attribute value"},
        {inContent("<d a/>"), "attribute without a value"},
        {inContent("x]]>y"), "]]> in text"},
        {inContent("<?xml x?>"), "processing instruction named xml"},
        {inContent("\x01"), "control character"},
        {document + "<again/>", "second root element"},
        {document + "tail", "text after the root"},
        {document.substr(0, rootEnd), "root never closed"},
        {document + "<!DOCTYPE late>", "document type after the root"},
        {"<!DOCTYPE root [<!ENTITY r \"&r;\">]><root>&r;</root>", "recursive entity"},
    };
    if (document.find("Shift_JIS") == std::string::npos)
        variants.push_back({inContent("\xC0\xAF"), "invalid UTF-8 (overlong)"});
    if (declared) {
        variants.push_back({" " + document, "declaration not at the start"});
        variants.push_back({"<!--c-->" + document, "declaration after a comment"});
        std::string version = document;
        variants.push_back({version.replace(version.find("1.0"), 3, "2.0"), "version 2.0"});
        std::string standalone = document;
        const size_t close = standalone.find("?>");
        variants.push_back({standalone.insert(close, " standalone='maybe'"), "bad standalone"});
    }
    (void)random;
    return variants;
}

std::string mutatedByOneByte(std::string document, std::mt19937& random) {
    static const std::string bytes = "<>&;'\"/=!?-[]# a\x80\xFF";
    const char byte = bytes[random() % bytes.size()];
    const size_t at = document.empty() ? 0 : random() % document.size();
    switch (random() % 3) {
        case 0:
            if (!document.empty()) document[at] = byte;
            break;
        case 1:
            document.insert(at, 1, byte);
            break;
        default:
            if (!document.empty()) document.erase(at, 1);
    }
    return document;
}
