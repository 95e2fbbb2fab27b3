// The parameter dialog's conversions: seven fields separated by line feeds.
// Numbers match a reference built on strtoll, the thresholds follow the
// ordering rule, the size is stored only when accepted, and the document
// keeps its invariants.
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/decimal_text.h"
#include "fuzz_support.h"
#include "system/code_page.h"
#include "view/parameter_dialog.h"

namespace {

std::int32_t referenceNumber(const std::string& text) {
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() < 7) {
        const size_t end = input.find('\n', start);
        fields.push_back(input.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    fields.resize(7);

    for (const std::string& field : fields) {
        // strtoll stops at a NUL, so the reference sees only the part before it.
        FUZZ_CHECK(parseDialogNumber(field) == referenceNumber(field));
        const std::string cut = CutFieldText(field, IsShiftJisLeadByte);
        FUZZ_CHECK(cut.size() <= MAX_FIELD_BYTES && field.compare(0, cut.size(), cut) == 0);
        size_t at = 0;
        while (at < cut.size()) at += isLeadByte(static_cast<unsigned char>(cut[at])) ? 2 : 1;
        FUZZ_CHECK(at == cut.size());
    }

    // Sizes up to the limit are accepted, but building a grid of a hundred
    // million cells on every run would leave no time for anything else: the
    // size checks of such inputs are left to the unit tests.
    const long long cells =
        static_cast<long long>(parseDialogNumber(fields[1])) * parseDialogNumber(fields[2]);
    if (cells > 10'000) return 0;

    MapDocument document;
    document.resizeGrid(9, 4);
    const MapDocument before = document;
    const ParameterTexts texts{fields[0], fields[1], fields[2], fields[3],
                               fields[4], fields[5], fields[6]};
    applyParameterTexts(texts, document);
    FUZZ_CHECK(keepsInvariants(document));
    const int x = parseDialogNumber(texts.x), y = parseDialogNumber(texts.y);
    const auto expectedSize = isAcceptedGridSize(x, y) ? std::make_pair(x, y) : before.gridSize();
    FUZZ_CHECK(document.gridSize() == expectedSize);
    FUZZ_CHECK(document.name == texts.name);
    const int rank1 = parseDialogNumber(texts.rank1), rank2 = parseDialogNumber(texts.rank2);
    const int rate1 = parseDialogNumber(texts.rate1), rate2 = parseDialogNumber(texts.rate2);
    FUZZ_CHECK(document.rank1 == rank1 && document.rate1 == rate1);
    FUZZ_CHECK(document.rank2 == (rank2 >= rank1 ? rank2 : before.rank2));
    FUZZ_CHECK(document.rate2 == (rate2 <= rate1 ? rate2 : before.rate2));
    return 0;
}
