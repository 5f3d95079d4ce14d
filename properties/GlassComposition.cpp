#include "properties/GlassComposition.h"

#include "chemistry/OxideYield.h"

#include <algorithm>
#include <cmath>

namespace properties {

std::optional<GlassComposition> typedComposition(const batch::GlassCompositionSheet& sheet) {
    GlassComposition composition;
    batch::Extended sum = 0;
    batch::Extended weightSum = 0;
    for (const batch::CompositionRowText& row : sheet.rows) {
        const QString oxide = row[0].trimmed();
        if (oxide.isEmpty() && row[1].trimmed().isEmpty())
            continue;
        const chemistry::GlassOxide* known = chemistry::findGlassOxide(oxide);
        batch::Extended content = 0;
        if (!known || !batch::tryTextToNumber(row[1], content) || !(content >= 0))
            return std::nullopt;
        for (const OxideContent& earlier : composition)
            if (earlier.oxide == oxide)
                return std::nullopt;
        sum += content;
        const batch::Extended weight =
            sheet.molePercent ? content * chemistry::oxideMolarMass(*known) : content;
        weightSum += weight;
        composition.push_back({oxide, weight});
    }
    if (composition.empty() || !(std::fabs(sum - 100) <= 0.01L) || !(weightSum > 0))
        return std::nullopt;
    for (OxideContent& entry : composition)
        entry.massPercent = entry.massPercent / weightSum * 100;
    return composition;
}

GlassComposition batchComposition(const batch::GlassBatchResult& result) {
    GlassComposition composition;
    for (qsizetype i = 0; i < result.glassOxides.size() && i < std::ssize(result.glassMassPercent); ++i)
        composition.push_back({result.glassOxides[i], result.glassMassPercent[static_cast<size_t>(i)]});
    return composition;
}

} // namespace properties
