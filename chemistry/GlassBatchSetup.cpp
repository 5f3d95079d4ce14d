#include "chemistry/GlassBatchSetup.h"

#include "batch/Failure.h"
#include "chemistry/OxideYield.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace chemistry {

namespace {

// The start of a long text, so that a message stays readable whatever a cell holds.
QString shownText(const QString& text) {
    constexpr qsizetype kShown = 40;
    return text.size() <= kShown ? text : text.first(kShown) + QChar(0x2026);
}

// A number of a cell or field; the failure says where it stands ("Строка 2, столбец «Содержание»").
batch::Extended numberIn(const QString& text, const QString& place) {
    if (text.trimmed().isEmpty())
        throw batch::Failure(QStringLiteral("%1: введите число!").arg(place));
    batch::Extended value = 0;
    if (!batch::tryTextToNumber(text, value))
        throw batch::Failure(
            QStringLiteral("%1: не удалось прочитать число «%2»!").arg(place, shownText(text)));
    return value;
}

batch::Extended percentOr(const QString& text, batch::Extended emptyValue, const QString& place) {
    return text.trimmed().isEmpty() ? emptyValue : numberIn(text, place);
}

QString fieldPlace(const char* caption) {
    return QStringLiteral("Поле «%1»").arg(QString::fromUtf8(caption));
}

QString cellPlace(int row, int column) {
    return QStringLiteral("Строка %1, столбец «%2»")
        .arg(row)
        .arg(QString::fromUtf8(batch::kCompositionHeaders[column]));
}

// A raw material as a row names it: a material of the library, or else a formula.
struct NamedMaterial {
    QString formula;       // empty for a material given by its analysis
    QString molarMassText; // "100" for an analysis: one unit is 100 g of the material
    // Per gram of the formula substance, or of the dry material for an analysis.
    DryGramYield perGram;
    std::optional<batch::Extended> purity, moisture, price; // the library's
};

NamedMaterial namedMaterial(const QString& name, const RawMaterialLibrary& library) {
    NamedMaterial named;
    if (const RawMaterial* found = library.find(name)) {
        // On the line it has in the library file, so that a fault there can be found.
        checkRawMaterial(*found, static_cast<int>(found - library.materials.data()) + 2);
        named.moisture = found->moisture;
        named.price = found->price;
        if (!found->byFormula()) {
            named.molarMassText = QStringLiteral("100");
            named.perGram = dryGramYield(*found);
            return named;
        }
        named.formula = found->formula.trimmed();
        named.purity = found->purity;
    } else {
        named.formula = name;
    }
    // The purity of the row applies later: here the substance is pure.
    const RawMaterialYield yield = rawMaterialYield(named.formula);
    named.molarMassText = yield.molarMassText;
    named.perGram = dryGramYield(yield, 1);
    return named;
}

// The formula parser and the library name the formula or the material; the row is said here.
NamedMaterial materialOfRow(const QString& name, const RawMaterialLibrary& library, int row) {
    try {
        return namedMaterial(name, library);
    } catch (const batch::Failure& failure) {
        throw batch::Failure(QStringLiteral("Строка %1: %2").arg(row).arg(failure.message()));
    }
}

// Each raw material's oxides laid out over the oxides of the glass: the listed ones first, then
// those that only the materials bring, in the order of the table of glass oxides.
void layOutOxides(batch::GlassBatchProblem& problem, const std::vector<DryGramYield>& yields,
                  const std::vector<int>& materialRows) {
    QHash<QString, size_t> index;
    for (size_t o = 0; o < problem.oxides.size(); ++o)
        index.insert(problem.oxides[o].oxide, o);
    QSet<QString> extra;
    for (size_t j = 0; j < yields.size(); ++j)
        for (const OxideGrams& share : yields[j].oxides) {
            if (!findGlassOxide(share.oxide))
                throw batch::unknownOxideFailure(materialRows[j], share.oxide);
            if (!index.contains(share.oxide))
                extra.insert(share.oxide);
        }
    for (const GlassOxide& oxide : glassOxides()) {
        const QString name = QString::fromLatin1(oxide.oxide);
        if (!extra.contains(name))
            continue;
        index.insert(name, problem.oxides.size() + problem.extraOxides.size());
        problem.extraOxides.push_back(batch::GlassOxideRow{name, oxideMolarMass(oxide), 0, 0});
    }
    const size_t count = problem.oxides.size() + problem.extraOxides.size();
    for (size_t j = 0; j < yields.size(); ++j) {
        std::vector<batch::Extended>& grams = problem.materials[j].oxideGrams;
        grams.assign(count, 0);
        for (const OxideGrams& share : yields[j].oxides)
            grams[index.value(share.oxide)] += share.grams;
    }
}

} // namespace

batch::GlassBatchProblem prepareGlassBatch(const batch::GlassCompositionSheet& sheet,
                                           const RawMaterialLibrary& library) {
    using batch::kAmountColumn, batch::kContentColumn, batch::kMaterialColumn, batch::kMoistureColumn,
        batch::kOxideColumn, batch::kPurityColumn, batch::kVolatilisationColumn;
    batch::GlassBatchProblem problem;
    problem.molePercent = sheet.molePercent;
    problem.glassMass = numberIn(sheet.glassMass, fieldPlace("Масса стекла, г"));
    problem.culletShare = percentOr(sheet.cullet, 0, fieldPlace("Стеклобой, %")) / 100;

    std::vector<DryGramYield> yields;
    std::vector<int> oxideRows, materialRows;
    for (size_t i = 0; i < sheet.rows.size(); ++i) {
        const batch::CompositionRowText& row = sheet.rows[i];
        const int number = static_cast<int>(i) + 1;
        const QString oxide = row[kOxideColumn].trimmed();
        const QString material = row[kMaterialColumn].trimmed();
        const bool fixed = !row[kAmountColumn].trimmed().isEmpty();
        if (oxide.isEmpty() && material.isEmpty()) {
            if (fixed)
                throw batch::Failure(
                    QStringLiteral("Строка %1: укажите сырьё для заданного количества!").arg(number));
            continue;
        }
        if (oxide.isEmpty() && !fixed)
            throw batch::Failure(
                QStringLiteral(
                    "Строка %1: укажите для сырья %2 оксид, который оно вносит, или заданное количество!")
                    .arg(number)
                    .arg(material));
        if (!oxide.isEmpty()) {
            const GlassOxide* known = findGlassOxide(oxide);
            if (!known)
                throw batch::unknownOxideFailure(number, oxide);
            if (material.isEmpty())
                throw batch::Failure(
                    QStringLiteral("Строка %1: укажите сырьё для оксида %2!").arg(number).arg(oxide));
            if (fixed)
                throw batch::Failure(QStringLiteral("Строка %1: для сырья %2 указаны и оксид %3, и заданное "
                                                    "количество — оставьте что-то одно!")
                                         .arg(number)
                                         .arg(material, oxide));
            for (size_t k = 0; k < problem.oxides.size(); ++k)
                if (problem.oxides[k].oxide == oxide)
                    throw batch::repeatedOxideFailure(oxide, oxideRows[k], number);
        }
        for (size_t k = 0; k < problem.materials.size(); ++k)
            if (problem.materials[k].name == material)
                throw batch::Failure(
                    QStringLiteral("Сырьё %1 указано в строках %2 и %3: каждое сырьё — в одной строке!")
                        .arg(material)
                        .arg(materialRows[k])
                        .arg(number));

        batch::RawMaterialRow materialRow;
        if (!oxide.isEmpty()) {
            batch::GlassOxideRow oxideRow;
            oxideRow.oxide = oxide;
            oxideRow.molarMass = oxideMolarMass(*findGlassOxide(oxide));
            oxideRow.content = numberIn(row[kContentColumn], cellPlace(number, kContentColumn));
            oxideRow.volatilisation =
                percentOr(row[kVolatilisationColumn], 0, cellPlace(number, kVolatilisationColumn)) / 100;
            problem.oxides.push_back(oxideRow);
            oxideRows.push_back(number);
        } else {
            // An addition has no oxide of its own that could volatilise.
            if (!row[kVolatilisationColumn].trimmed().isEmpty())
                throw batch::Failure(
                    QStringLiteral("Строка %1: у добавки %2 нет оксида, улетучивание для неё не указывается!")
                        .arg(number)
                        .arg(material));
            materialRow.fixedAmount = numberIn(row[kAmountColumn], cellPlace(number, kAmountColumn));
        }

        const NamedMaterial named = materialOfRow(material, library, number);
        materialRow.name = material;
        materialRow.formula = named.formula;
        materialRow.molarMassText = named.molarMassText;
        if (named.formula.isEmpty() && !row[kPurityColumn].trimmed().isEmpty())
            throw batch::Failure(
                QStringLiteral("Строка %1: сырьё %2 задано анализом, чистота для него не указывается!")
                    .arg(number)
                    .arg(material));
        if (!named.formula.isEmpty())
            materialRow.purity =
                percentOr(row[kPurityColumn], named.purity.value_or(100), cellPlace(number, kPurityColumn)) /
                100;
        materialRow.moisture =
            percentOr(row[kMoistureColumn], named.moisture.value_or(0), cellPlace(number, kMoistureColumn)) /
            100;
        materialRow.carbonDioxide = named.perGram.carbonDioxide;
        materialRow.water = named.perGram.water;
        materialRow.otherGases = named.perGram.otherGases;
        materialRow.price = named.price;
        problem.materials.push_back(materialRow);
        yields.push_back(named.perGram);
        materialRows.push_back(number);
    }
    layOutOxides(problem, yields, materialRows);
    return problem;
}

batch::GlassBatchProblem prepareGlassBatch(const batch::GlassCompositionSheet& sheet) {
    return prepareGlassBatch(sheet, RawMaterialLibrary());
}

batch::Extended compositionCellNumber(const QString& text, int row, int column) {
    return numberIn(text, cellPlace(row, column));
}

bool namesNoRawMaterial(const batch::GlassCompositionSheet& sheet) {
    return std::all_of(sheet.rows.begin(), sheet.rows.end(), [](const batch::CompositionRowText& row) {
        return row[batch::kMaterialColumn].trimmed().isEmpty();
    });
}

} // namespace chemistry
