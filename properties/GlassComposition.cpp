#include "properties/GlassComposition.h"

#include "batch/Failure.h"
#include "chemistry/GlassBatchSetup.h"
#include "chemistry/OxideYield.h"

#include <algorithm>
#include <cmath>

namespace properties {

GlassComposition compositionOfSheet(const batch::GlassCompositionSheet& sheet) {
    GlassComposition composition;
    std::vector<int> rows;
    batch::Extended sum = 0;
    batch::Extended weightSum = 0;
    for (size_t i = 0; i < sheet.rows.size(); ++i) {
        const batch::CompositionRowText& row = sheet.rows[i];
        const int number = static_cast<int>(i) + 1;
        const QString oxide = row[batch::kOxideColumn].trimmed();
        if (oxide.isEmpty()) {
            if (row[batch::kContentColumn].trimmed().isEmpty())
                continue;
            throw batch::Failure(QStringLiteral("Строка %1: укажите оксид!").arg(number));
        }
        const chemistry::GlassOxide* known = chemistry::findGlassOxide(oxide);
        if (!known)
            throw batch::unknownOxideFailure(number, oxide);
        for (size_t k = 0; k < composition.size(); ++k)
            if (composition[k].oxide == oxide)
                throw batch::repeatedOxideFailure(oxide, rows[k], number);
        const batch::Extended content =
            chemistry::compositionCellNumber(row[batch::kContentColumn], number, batch::kContentColumn);
        if (!(content >= 0 && content <= 100))
            throw batch::oxideContentFailure(oxide);
        sum += content;
        const batch::Extended weight =
            sheet.molePercent ? content * chemistry::oxideMolarMass(*known) : content;
        weightSum += weight;
        composition.push_back({oxide, weight});
        rows.push_back(number);
    }
    if (composition.empty())
        throw batch::noCompositionFailure();
    if (!(std::fabs(sum - 100) <= 0.01L))
        throw batch::contentSumFailure(sum);
    if (!(weightSum > 0))
        throw batch::noCompositionFailure();
    for (OxideContent& entry : composition)
        entry.massPercent = entry.massPercent / weightSum * 100;
    return composition;
}

std::optional<GlassComposition> typedComposition(const batch::GlassCompositionSheet& sheet) {
    try {
        return compositionOfSheet(sheet);
    } catch (const batch::Failure&) {
        return std::nullopt;
    }
}

GlassComposition batchComposition(const batch::GlassBatchResult& result) {
    GlassComposition composition;
    for (qsizetype i = 0; i < result.glassOxides.size() && i < std::ssize(result.glassMassPercent); ++i)
        composition.push_back({result.glassOxides[i], result.glassMassPercent[static_cast<size_t>(i)]});
    return composition;
}

} // namespace properties
