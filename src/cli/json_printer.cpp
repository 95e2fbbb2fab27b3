#include "cli/json_printer.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/console_text.h"

using nlohmann::ordered_json;

namespace {

ordered_json messagesJson(const std::vector<PairMessage>& messages) {
    ordered_json list = ordered_json::array();
    for (const PairMessage& message : messages)
        list.push_back({{"path", message.path},
                        {"line", message.line},
                        {"column", message.column},
                        {"kind", message.kind},
                        {"message", message.message}});
    return list;
}

void print(const ordered_json& object) { std::cout << object.dump() << "\n"; }

}  // namespace

void PrintJson(const PairCheck& check, bool passed) {
    print({{"path", check.path},
           {"ok", passed},
           {"errors", messagesJson(check.errors)},
           {"warnings", messagesJson(check.warnings)}});
}

void PrintJson(const MapSummary& summary) {
    ordered_json object = {{"name", Utf8FromAnsi(summary.parameters.name)}};
    for (const NumberField& field : NUMBER_FIELDS)
        object[field.shown] = summary.parameters.*field.value;
    object["set_cells"] = summary.setCells;
    print(object);
}

void PrintJson(const MapComparison& comparison) {
    ordered_json parameters = ordered_json::object();
    if (const auto& names = comparison.names)
        parameters["name"] = {{"a", Utf8FromAnsi(names->first)},
                              {"b", Utf8FromAnsi(names->second)}};
    for (const NumberChange& number : comparison.numbers)
        parameters[number.name] = {{"a", number.a}, {"b", number.b}};
    ordered_json box = nullptr;
    if (const auto& changed = comparison.changedCells)
        box = {{"x", changed->x},
               {"y", changed->y},
               {"width", changed->width},
               {"height", changed->height}};
    print({{"same", comparison.same},
           {"parameters", parameters},
           {"set_only_in_a", comparison.setOnlyInA},
           {"set_only_in_b", comparison.setOnlyInB},
           {"changed_cells", box}});
}
