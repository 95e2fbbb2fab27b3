#include "view/goto_dialog.h"

#include <algorithm>

#include "document/decimal_text.h"

GotoTexts GotoTextsFor(const CellPosition& cell) {
    return {FormatDecimal(cell.y + 1), FormatDecimal(cell.x + 1)};
}

CellPosition GotoCell(const GotoTexts& texts, const MapDocument& document) {
    const auto [width, height] = document.gridSize();
    auto cellOf = [](const std::string& text, int count) {
        const long long oneBased = parseDialogNumber(text);
        return static_cast<int>(std::clamp<long long>(oneBased - 1, 0, std::max(count - 1, 0)));
    };
    return {cellOf(texts.column, width), cellOf(texts.line, height)};
}
