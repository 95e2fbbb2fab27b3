// The parameter dialog's logic, apart from the window system: the document's
// name, size and thresholds as the seven texts of the dialog's edit fields,
// and those texts stored back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/edit_history.h"
#include "document/map_document.h"

// The most text read from one field: GetWindowTextA with a count of 255.
constexpr size_t MAX_FIELD_BYTES = 254;

struct ParameterTexts {
    std::string name;
    std::string x;
    std::string y;
    std::string rank1;  // time S/A
    std::string rank2;  // time A/B
    std::string rate1;  // rate S/A
    std::string rate2;  // rate A/B
};

ParameterTexts loadParameterTexts(const MapDocument& document);

// Stores the size (refused when not positive or beyond the limits), the
// thresholds (by the ordering rule) and the name. The steps do not depend on
// each other's success; when memory runs out (std::bad_alloc), nothing of
// the document has changed. Returns the undo step of the change, with the
// set cells a smaller size drops; nullopt when nothing changed.
std::optional<EditStep> applyParameterTexts(const ParameterTexts& texts, MapDocument& document);

// Whether a byte starts a double-byte character of the ANSI code page.
using LeadByteTest = bool (*)(unsigned char);

// Cuts a field's text to at most MAX_FIELD_BYTES without leaving half of a
// double-byte character at the end.
std::string CutFieldText(std::string_view text, LeadByteTest isLeadByte);
