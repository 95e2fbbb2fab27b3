#include "cli/text_printer.h"

#include <algorithm>
#include <iostream>

#include "cli/console_text.h"

void PrintText(const MapSummary& summary) {
    std::cout << "name: " << ForTerminal(summary.parameters.name) << "\n";
    for (const NumberField& field : NUMBER_FIELDS)
        std::cout << field.shown << ": " << summary.parameters.*field.value << "\n";
    std::cout << "set_cells: " << summary.setCells << "\n";
}

void PrintText(const MapComparison& comparison) {
    std::ostream& out = std::cout;
    out << (comparison.same ? "same: yes\n" : "same: no\n");
    if (const auto& names = comparison.names)
        out << "name: " << ForTerminal(names->first) << " -> " << ForTerminal(names->second)
            << "\n";
    for (const NumberChange& number : comparison.numbers)
        out << number.name << ": " << number.a << " -> " << number.b << "\n";
    out << "set_only_in_a: " << comparison.setOnlyInA << "\n"
        << "set_only_in_b: " << comparison.setOnlyInB << "\n";
    if (const auto& box = comparison.changedCells)
        out << "changed_cells: x " << box->x << ", y " << box->y << ", " << box->width << " x "
            << box->height << "\n";
}

void PrintMessages(const PairCheck& check) {
    PrintMessages(check.errors, "error");
    PrintMessages(check.warnings, "warning");
}

void PrintMessages(const std::vector<PairMessage>& messages, const char* severity, size_t limit,
                   size_t total) {
    total = std::max(total, messages.size());
    const size_t shown = std::min(messages.size(), limit);
    for (size_t i = 0; i < shown; ++i)
        std::cerr << FormatPairMessage(messages[i], severity) << "\n";
    if (total > shown) std::cerr << "... and " << total - shown << " more " << severity << "s\n";
}

void PrintFailure(const Failure& failure) {
    std::cerr << FormatPairMessage(MessageOf(failure), "error") << "\n";
}
