#include "chemistry/RawMaterialLibrary.h"

#include "batch/Failure.h"
#include "chemistry/OxideYield.h"

#include <algorithm>
#include <cmath>

namespace chemistry {

namespace {

QString column(int index) {
    return QString::fromUtf8(kRawMaterialColumns[static_cast<size_t>(index)]);
}

void checkNotNegative(batch::Extended value, const QString& columnName, int line, const QString& name) {
    // Written so that a value that is no number at all is refused as well.
    if (!(value >= 0))
        throwRawMaterialFault(line, name,
                              QStringLiteral("в столбце «%1» отрицательное число").arg(columnName));
}

void checkPercent(const std::optional<batch::Extended>& value, const QString& columnName, int line,
                  const QString& name) {
    if (!value)
        return;
    checkNotNegative(*value, columnName, line, name);
    if (*value > 100)
        throwRawMaterialFault(line, name, QStringLiteral("в столбце «%1» число больше 100").arg(columnName));
}

QString percentText(batch::Extended value) {
    return batch::generalText(value, 10);
}

} // namespace

const RawMaterial* RawMaterialLibrary::find(const QString& name) const {
    const QString wanted = name.trimmed();
    for (const RawMaterial& material : materials)
        if (material.name.trimmed() == wanted)
            return &material;
    return nullptr;
}

DryGramYield dryGramYield(const RawMaterial& material) {
    DryGramYield result;
    if (!material.byFormula()) {
        for (const OxidePercent& share : material.analysis)
            if (share.percent != 0)
                result.oxides.push_back(OxideGrams{share.oxide, share.percent / 100});
        const batch::Extended loss = material.lossOnIgnition.value_or(0) / 100;
        result.carbonDioxide = material.carbonDioxide.value_or(0) / 100;
        result.water = loss - result.carbonDioxide;
        return result;
    }
    return dryGramYield(rawMaterialYield(material.formula.trimmed()), material.purity.value_or(100) / 100);
}

DryGramYield dryGramYield(const RawMaterialYield& yield, batch::Extended pure) {
    DryGramYield result;
    const auto perGram = [&](batch::Extended gramsPerMole) {
        return batch::checkedMultiply(batch::checkedDivide(gramsPerMole, yield.molarMass), pure);
    };
    for (const OxideShare& share : yield.oxides)
        result.oxides.push_back(
            OxideGrams{share.oxide, perGram(share.moles * oxideMolarMass(*findGlassOxide(share.oxide)))});
    result.carbonDioxide = perGram(yield.carbonDioxide);
    result.water = perGram(yield.water);
    result.otherGases = perGram(yield.otherGases);
    result.inert = 1 - pure;
    return result;
}

void throwRawMaterialFault(int line, const QString& material, const QString& what) {
    // A reason taken from another part of the program brings its own mark.
    const QString mark = what.endsWith(u'!') ? QString() : QStringLiteral("!");
    if (material.isEmpty())
        throw batch::Failure(QStringLiteral("Справочник сырья, строка %1: %2%3").arg(line).arg(what, mark));
    throw batch::Failure(
        QStringLiteral("Справочник сырья, строка %1 («%2»): %3%4").arg(line).arg(material, what, mark));
}

void checkRawMaterial(const RawMaterial& material, int line) {
    const QString name = material.name.trimmed();
    if (name.isEmpty())
        throwRawMaterialFault(line, QString(), QStringLiteral("нет названия"));
    if (name.contains(u'\n') || name.contains(u'\r'))
        throwRawMaterialFault(line, QString(), QStringLiteral("в названии не может быть переноса строки"));

    // The numbers in the order of the columns, so that the first fault of a line is the one named.
    checkPercent(material.purity, column(2), line, name);
    if (material.purity && *material.purity == 0)
        throwRawMaterialFault(line, name, QStringLiteral("чистота должна быть больше 0"));
    checkPercent(material.moisture, column(3), line, name);
    if (material.moisture && *material.moisture == 100)
        throwRawMaterialFault(line, name, QStringLiteral("влажность должна быть меньше 100 %"));
    if (material.price)
        checkNotNegative(*material.price, column(4), line, name);
    checkPercent(material.lossOnIgnition, column(5), line, name);
    checkPercent(material.carbonDioxide, column(6), line, name);
    QSet<QString> oxides;
    for (const OxidePercent& share : material.analysis) {
        checkPercent(share.percent, share.oxide, line, name);
        if (oxides.contains(share.oxide))
            throwRawMaterialFault(line, name,
                                  QStringLiteral("оксид %1 указан в анализе дважды").arg(share.oxide));
        oxides.insert(share.oxide);
    }

    if (material.byFormula()) {
        if (!material.analysis.empty() || material.lossOnIgnition || material.carbonDioxide)
            throwRawMaterialFault(
                line, name,
                QStringLiteral(
                    "у сырья с формулой столбцы оксидов, «ППП, %» и «CO2, %» должны быть пустыми"));
        try {
            (void)rawMaterialYield(material.formula.trimmed());
        } catch (const batch::Failure& failure) {
            throwRawMaterialFault(line, name, failure.message());
        }
        return;
    }
    if (material.analysis.empty() && !material.lossOnIgnition)
        throwRawMaterialFault(line, name, QStringLiteral("нет ни формулы, ни анализа"));
    if (material.purity)
        throwRawMaterialFault(line, name, QStringLiteral("чистота задаётся только для сырья с формулой"));
    batch::Extended sum = material.lossOnIgnition.value_or(0);
    for (const OxidePercent& share : material.analysis)
        sum += share.percent;
    // The tolerance holds for the decimal figures as written, not for their binary sum.
    if (std::fabs(sum - 100) > kAnalysisTolerance + 1e-9L)
        throwRawMaterialFault(line, name,
                              QStringLiteral("оксиды и ППП в сумме дают %1 %, а должны давать 100 ± 0,5")
                                  .arg(percentText(sum)));
    const batch::Extended loss = material.lossOnIgnition.value_or(0);
    if (material.carbonDioxide.value_or(0) > loss)
        throwRawMaterialFault(line, name,
                              QStringLiteral("CO2 (%1 %) больше ППП (%2 %)")
                                  .arg(percentText(*material.carbonDioxide), percentText(loss)));
}

void checkUniqueRawMaterialName(const QString& name, int line, QHash<QString, int>& lines) {
    const QString key = name.trimmed();
    const auto earlier = lines.constFind(key);
    if (earlier != lines.constEnd())
        throwRawMaterialFault(line, key,
                              QStringLiteral("сырьё с этим названием уже есть в строке %1").arg(*earlier));
    lines.insert(key, line);
}

void checkRawMaterialLibrary(const RawMaterialLibrary& library) {
    QHash<QString, int> lines;
    int line = 1;
    for (const RawMaterial& material : library.materials) {
        ++line;
        if (line - 1 > kMaxRawMaterials)
            throwRawMaterialFault(line, QString(),
                                  QStringLiteral("в справочнике больше %1 материалов").arg(kMaxRawMaterials));
        checkRawMaterial(material, line);
        checkUniqueRawMaterialName(material.name, line, lines);
    }
}

std::optional<batch::Extended> rawMaterialNumber(const QString& text, const QString& columnName, int line,
                                                 const QString& name) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    QString normal = trimmed;
    normal.replace(u',', batch::decimalSeparator()).replace(u'.', batch::decimalSeparator());
    batch::Extended value = 0;
    if (!batch::tryTextToNumber(normal, value))
        throwRawMaterialFault(line, name,
                              QStringLiteral("в столбце «%1» не число: «%2»").arg(columnName, trimmed));
    return value;
}

QString rawMaterialNumberText(const std::optional<batch::Extended>& value, QChar separator) {
    if (!value)
        return QString();
    QString text = batch::generalText(*value, 15);
    batch::Extended back = 0;
    if (!batch::tryTextToNumber(text, back) || back != *value)
        text = batch::generalText(*value, 21);
    return text.replace(batch::decimalSeparator(), separator);
}

RawMaterial rawMaterialFromTexts(const RawMaterialTexts& texts, int line) {
    RawMaterial material;
    material.name = texts.name.trimmed();
    material.formula = texts.formula.trimmed();
    material.purity = rawMaterialNumber(texts.purity, column(2), line, material.name);
    material.moisture = rawMaterialNumber(texts.moisture, column(3), line, material.name);
    material.price = rawMaterialNumber(texts.price, column(4), line, material.name);
    material.lossOnIgnition = rawMaterialNumber(texts.lossOnIgnition, column(5), line, material.name);
    material.carbonDioxide = rawMaterialNumber(texts.carbonDioxide, column(6), line, material.name);
    for (const auto& [oxide, percent] : texts.analysis)
        if (const auto value = rawMaterialNumber(percent, oxide, line, material.name))
            material.analysis.push_back(OxidePercent{oxide, *value});
    checkRawMaterial(material, line);
    return material;
}

RawMaterialTexts rawMaterialTexts(const RawMaterial& material, QChar separator) {
    RawMaterialTexts texts;
    texts.name = material.name;
    texts.formula = material.formula;
    texts.purity = rawMaterialNumberText(material.purity, separator);
    texts.moisture = rawMaterialNumberText(material.moisture, separator);
    texts.price = rawMaterialNumberText(material.price, separator);
    texts.lossOnIgnition = rawMaterialNumberText(material.lossOnIgnition, separator);
    texts.carbonDioxide = rawMaterialNumberText(material.carbonDioxide, separator);
    for (const OxidePercent& share : material.analysis)
        texts.analysis.emplace_back(share.oxide, rawMaterialNumberText(share.percent, separator));
    return texts;
}

RawMaterialLibrary rawMaterialLibraryFromTexts(const std::vector<RawMaterialTexts>& materials,
                                               const QStringList& oxideColumns, int* faultIndex) {
    RawMaterialLibrary library;
    library.oxideColumns = oxideColumns;
    QHash<QString, int> names;
    for (size_t i = 0; i < materials.size(); ++i) {
        const int line = static_cast<int>(i) + 2; // the header is line 1
        try {
            if (line - 1 > kMaxRawMaterials)
                throwRawMaterialFault(
                    line, QString(),
                    QStringLiteral("в справочнике больше %1 материалов").arg(kMaxRawMaterials));
            library.materials.push_back(rawMaterialFromTexts(materials[i], line));
            checkUniqueRawMaterialName(library.materials.back().name, line, names);
        } catch (const batch::Failure&) {
            if (faultIndex)
                *faultIndex = static_cast<int>(i);
            throw;
        }
    }
    return library;
}

QString unusedRawMaterialName(const std::vector<RawMaterialTexts>& materials, const QString& wanted) {
    const auto used = [&materials](const QString& name) {
        return std::any_of(materials.begin(), materials.end(), [&name](const RawMaterialTexts& material) {
            return material.name.trimmed() == name;
        });
    };
    QString name = wanted.trimmed();
    for (int n = 2; used(name); ++n)
        name = QStringLiteral("%1 %2").arg(wanted.trimmed()).arg(n);
    return name;
}

QStringList collidingRawMaterials(const RawMaterialLibrary& library, const RawMaterialLibrary& incoming) {
    QStringList names;
    for (const RawMaterial& material : incoming.materials)
        if (library.find(material.name))
            names << material.name.trimmed();
    return names;
}

RawMaterialLibrary mergeRawMaterials(const RawMaterialLibrary& library, const RawMaterialLibrary& incoming,
                                     const QSet<QString>& replaced) {
    RawMaterialLibrary merged = library;
    for (const QString& oxide : incoming.oxideColumns)
        if (!merged.oxideColumns.contains(oxide))
            merged.oxideColumns << oxide;
    for (const RawMaterial& material : incoming.materials) {
        const QString name = material.name.trimmed();
        if (const RawMaterial* held = library.find(name)) {
            if (replaced.contains(name))
                merged.materials[static_cast<size_t>(held - library.materials.data())] = material;
            continue;
        }
        merged.materials.push_back(material);
    }
    if (merged.materials.size() > static_cast<size_t>(kMaxRawMaterials))
        throw batch::Failure(
            QStringLiteral("После импорта в справочнике было бы %1 материалов, а их может быть не больше %2!")
                .arg(merged.materials.size())
                .arg(kMaxRawMaterials));
    return merged;
}

} // namespace chemistry
