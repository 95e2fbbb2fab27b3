#include "document/map_parameters.h"

bool MapParameters::operator==(const MapParameters& other) const {
    for (const NumberField& field : NUMBER_FIELDS)
        if (this->*field.value != other.*field.value) return false;
    return name == other.name;
}

MapParameters ParametersOf(const MapDocument& document) {
    const auto [width, height] = document.gridSize();
    return {width,          height,         document.rank1,        document.rank2,
            document.rate1, document.rate2, document.copyMapName()};
}
