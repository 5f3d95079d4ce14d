#include "properties/ModelLimits.h"

#include "batch/Failure.h"
#include "chemistry/OxideYield.h"

#include <cmath>

namespace properties {

namespace {

// Renormalising moves a content that lies on a bound by a few units of the last place; so little
// neither makes an oxide matter nor takes a glass out of a range.
constexpr batch::Extended kSlack = 1e-9L;

// A left-out content: two decimals, as many digits as it takes where that would show zero.
QString leftOutText(batch::Extended percent) {
    return percent >= 0.005L ? batch::fixedText(percent, 15, 2) : batch::generalText(percent, 2);
}

// A content outside its range: one decimal, more where the rounded figure would seem to lie inside.
QString outsideText(batch::Extended percent, const ContentRange& range) {
    int decimals = 1;
    for (; decimals < 10; ++decimals) {
        const batch::Extended scale = std::pow(10.0L, decimals);
        const batch::Extended shown = std::round(percent * scale) / scale;
        if (shown < range.low || shown > range.high)
            break;
    }
    return batch::fixedText(percent, 15, decimals);
}

QString rangeText(const ContentRange& range) {
    const QString high = batch::generalText(range.high);
    return range.low > 0 ? batch::generalText(range.low) + u'–' + high : QStringLiteral("≤ ") + high;
}

} // namespace

// Worked out once for all oxides of the program from the element table.
batch::Extended molarMassOf(const QString& oxide) {
    static const std::vector<batch::Extended> masses = [] {
        std::vector<batch::Extended> table;
        for (const chemistry::GlassOxide& entry : chemistry::glassOxides())
            table.push_back(chemistry::oxideMolarMass(entry));
        return table;
    }();
    const chemistry::GlassOxide* entry = chemistry::findGlassOxide(oxide);
    if (!entry)
        throw batch::Failure(QString::fromLatin1(batch::kInvalidOperation));
    return masses[static_cast<size_t>(entry - chemistry::glassOxides().data())];
}

batch::Extended shareOf(const Shares& shares, QLatin1String oxide) {
    for (const Share& share : shares)
        if (share.oxide == oxide)
            return share.percent;
    return 0;
}

void addNote(QString& notes, const QString& text) {
    if (!notes.isEmpty())
        notes += QStringLiteral("; ");
    notes += text;
}

ModelInput modelInput(const GlassComposition& composition, const std::function<bool(QStringView)>& known,
                      QString& notes) {
    // The glass in mass %, each oxide once.
    Shares glass;
    batch::Extended total = 0;
    for (const OxideContent& entry : composition) {
        if (!(entry.massPercent >= 0) || !std::isfinite(entry.massPercent))
            throw batch::Failure(
                QStringLiteral(
                    "Содержание оксида %1 для расчёта свойств стекла должно быть числом не меньше нуля!")
                    .arg(entry.oxide));
        total += entry.massPercent;
        Share* same = nullptr;
        for (Share& share : glass)
            if (share.oxide == entry.oxide)
                same = &share;
        if (same)
            same->percent += entry.massPercent;
        else
            glass.push_back({entry.oxide, entry.massPercent});
    }
    if (!(total > 0) || !std::isfinite(total))
        throw batch::Failure(QStringLiteral("Для расчёта свойств стекла введите его состав!"));

    ModelInput input;
    batch::Extended ownTotal = 0;
    batch::Extended unknownTotal = 0;
    QString leftOut;
    QString names;
    for (const Share& share : glass) {
        const batch::Extended percent = share.percent / total * 100;
        if (known(share.oxide)) {
            input.massPercent.push_back({share.oxide, percent});
            ownTotal += percent;
        } else if (percent > 0) {
            unknownTotal += percent;
            const QString separator = names.isEmpty() ? QString() : QStringLiteral(", ");
            names += separator + share.oxide;
            leftOut += separator + QStringLiteral("%1 %2 %").arg(share.oxide, leftOutText(percent));
        }
    }
    if (unknownTotal > 1 + kSlack) {
        addNote(notes, QStringLiteral("модель не учитывает ") + names);
        input.massPercent.clear();
        return input;
    }
    if (unknownTotal > 0)
        addNote(notes, QStringLiteral("не учтены: ") + leftOut);
    for (Share& share : input.massPercent)
        share.percent = share.percent / ownTotal * 100;
    input.usable = true;
    return input;
}

Shares molePercent(const Shares& massPercent) {
    Shares moles;
    batch::Extended total = 0;
    for (const Share& share : massPercent) {
        moles.push_back({share.oxide, share.percent / molarMassOf(share.oxide)});
        total += moles.back().percent;
    }
    for (Share& share : moles)
        share.percent = share.percent / total * 100;
    return moles;
}

void addRangeNote(QString& notes, const Shares& shares, std::span<const ContentRange> ranges,
                  bool molePercent) {
    QString outside;
    for (const ContentRange& range : ranges) {
        const batch::Extended percent = shareOf(shares, QLatin1String(range.oxide));
        if (percent >= range.low - kSlack && percent <= range.high + kSlack)
            continue;
        const QString item =
            molePercent ? QStringLiteral("%1 %2 мол. % (%3)") : QStringLiteral("%1 %2 масс. % (%3)");
        outside += (outside.isEmpty() ? QString() : QStringLiteral(", ")) +
                   item.arg(QLatin1String(range.oxide), outsideText(percent, range), rangeText(range));
    }
    if (!outside.isEmpty())
        addNote(notes, QStringLiteral("вне области модели: ") + outside);
}

} // namespace properties
