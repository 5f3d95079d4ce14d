#pragma once

// Common raw materials of glass batches, offered by name in the composition window.

#include <QString>
#include <vector>

namespace chemistry {

struct GlassRawMaterial {
    QString name;    // "Сода кальцинированная"
    QString formula; // "Na2CO3"
};

const std::vector<GlassRawMaterial>& glassRawMaterials();

} // namespace chemistry
