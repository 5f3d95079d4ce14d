#pragma once

// The composition of a glass as the property models take it: oxides and their mass %.

#include "batch/GlassBatch.h"
#include "batch/GlassCompositionSheet.h"
#include "batch/NumberText.h"

#include <QString>
#include <optional>
#include <vector>

namespace properties {

struct OxideContent {
    QString oxide;                   // "SiO2", as the program's oxide table writes it
    batch::Extended massPercent = 0; // not below zero
};
// In any order; contents are read as parts of their total, which must be above zero. An oxide
// named twice counts with the sum of its contents.
using GlassComposition = std::vector<OxideContent>;

// The composition typed into the composition grid, in mass %, when it is valid by itself: each
// row with an oxide or a content names an oxide of the program's table, once, with a content
// from 0 to 100, and the contents add up to 100 within 0,01 (mole % are turned into mass %). Raw
// materials are not looked at. Throws batch::Failure with the first fault, in the words the batch
// calculation uses for it.
GlassComposition compositionOfSheet(const batch::GlassCompositionSheet& sheet);
// The same, or nothing when the composition is not valid.
std::optional<GlassComposition> typedComposition(const batch::GlassCompositionSheet& sheet);

// The glass a calculated batch gives: each of its oxides, those the composition lists and those
// the raw materials bring on top, with the mass % the result finds for it.
GlassComposition batchComposition(const batch::GlassBatchResult& result);

} // namespace properties
