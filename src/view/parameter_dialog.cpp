#include "view/parameter_dialog.h"

#include "document/decimal_text.h"

ParameterTexts loadParameterTexts(const MapDocument& document) {
    const auto [width, height] = document.gridSize();
    return {document.copyMapName(),        FormatDecimal(width),
            FormatDecimal(height),         FormatDecimal(document.rank1),
            FormatDecimal(document.rank2), FormatDecimal(document.rate1),
            FormatDecimal(document.rate2)};
}

std::optional<EditStep> applyParameterTexts(const ParameterTexts& texts, MapDocument& document) {
    // What may fail for want of memory comes first and changes nothing then:
    // the copy of the name, the record of the old values and of the cells a
    // smaller size drops, and the resize, which is all or nothing.
    std::string name = texts.name;
    const int width = parseDialogNumber(texts.x), height = parseDialogNumber(texts.y);
    ParameterChange change{ParametersOf(document), {}, {}};
    if (isAcceptedGridSize(width, height))
        change.dropped = DroppedCells(document.cells, width, height);
    document.resizeGrid(width, height);
    document.applyThresholds(parseDialogNumber(texts.rank1), parseDialogNumber(texts.rank2),
                             parseDialogNumber(texts.rate1), parseDialogNumber(texts.rate2));
    document.setMapName(std::move(name));
    change.after = ParametersOf(document);
    if (change.after == change.before) return std::nullopt;
    EditStep step;
    step.parameters = std::move(change);
    return step;
}

std::string CutFieldText(std::string_view text, LeadByteTest isLeadByte) {
    size_t end = 0;
    while (end < text.size()) {
        const size_t length = isLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        // Neither half a character at the limit nor a lead byte whose second
        // half is missing (as when the window system itself cut the text).
        if (end + length > MAX_FIELD_BYTES || end + length > text.size()) break;
        end += length;
    }
    return std::string(text.substr(0, end));
}
