#include "chemistry/OxideYield.h"

#include "batch/Failure.h"

#include <functional>

namespace chemistry {

namespace {

bool leavesAsGas(const QString& symbol) {
    return symbol == u"C" || symbol == u"H" || symbol == u"N" || symbol == u"O";
}

batch::Extended formulaMass(const char* text) {
    return molarMass(parseFormula(QString::fromLatin1(text)));
}

} // namespace

const std::vector<GlassOxide>& glassOxides() {
    static const std::vector<GlassOxide> table{
        {"Si", "SiO2", 1},  {"Al", "Al2O3", 2}, {"B", "B2O3", 2},   {"Na", "Na2O", 2},  {"K", "K2O", 2},
        {"Li", "Li2O", 2},  {"Ca", "CaO", 1},   {"Mg", "MgO", 1},   {"Ba", "BaO", 1},   {"Sr", "SrO", 1},
        {"Zn", "ZnO", 1},   {"Pb", "PbO", 1},   {"Ti", "TiO2", 1},  {"Zr", "ZrO2", 1},  {"Fe", "Fe2O3", 2},
        {"P", "P2O5", 2},   {"S", "SO3", 1},    {"Rb", "Rb2O", 2},  {"Cs", "Cs2O", 2},  {"Be", "BeO", 1},
        {"Cd", "CdO", 1},   {"Mn", "MnO", 1},   {"Co", "CoO", 1},   {"Ni", "NiO", 1},   {"Cu", "CuO", 1},
        {"Cr", "Cr2O3", 2}, {"Ce", "CeO2", 1},  {"La", "La2O3", 2}, {"Nd", "Nd2O3", 2}, {"Y", "Y2O3", 2},
        {"Er", "Er2O3", 2}, {"Gd", "Gd2O3", 2}, {"Bi", "Bi2O3", 2}, {"Sb", "Sb2O3", 2}, {"As", "As2O3", 2},
        {"Ge", "GeO2", 1},  {"Sn", "SnO2", 1},  {"Ga", "Ga2O3", 2}, {"In", "In2O3", 2}, {"Te", "TeO2", 1},
        {"Se", "SeO2", 1},  {"V", "V2O5", 2},   {"Nb", "Nb2O5", 2}, {"Ta", "Ta2O5", 2}, {"Mo", "MoO3", 1},
        {"W", "WO3", 1},    {"Hf", "HfO2", 1},  {"Ag", "Ag2O", 2},
    };
    return table;
}

const GlassOxide* findGlassOxide(const QString& oxide) {
    for (const GlassOxide& entry : glassOxides())
        if (oxide == QLatin1String(entry.oxide))
            return &entry;
    return nullptr;
}

batch::Extended oxideMolarMass(const GlassOxide& oxide) {
    // The masses of the table's oxides never change: each is worked out once, as the batch of a
    // glass asks for them again for every raw material.
    static const std::vector<batch::Extended> masses = [] {
        std::vector<batch::Extended> table;
        for (const GlassOxide& entry : glassOxides())
            table.push_back(formulaMass(entry.oxide));
        return table;
    }();
    const std::vector<GlassOxide>& table = glassOxides();
    if (std::less_equal<>()(table.data(), &oxide) && std::less<>()(&oxide, table.data() + table.size()))
        return masses[static_cast<size_t>(&oxide - table.data())];
    return formulaMass(oxide.oxide);
}

RawMaterialYield rawMaterialYield(const QString& formulaText) {
    RawMaterialYield yield;
    yield.formula = parseFormula(formulaText);
    yield.molarMassText = molarMassText(yield.formula);
    yield.molarMass = batch::textToNumber(yield.molarMassText);

    batch::Extended oxideMass = 0;
    for (const ElementCount& element : yield.formula.elements) {
        if (leavesAsGas(element.symbol))
            continue;
        const GlassOxide* oxide = nullptr;
        for (const GlassOxide& entry : glassOxides())
            if (element.symbol == QLatin1String(entry.element))
                oxide = &entry;
        if (!oxide)
            throw batch::Failure(
                QStringLiteral("Сырьё %1 не годится: элемент %2 не переходит ни в один оксид стекла!")
                    .arg(formulaText.trimmed(), element.symbol));
        const batch::Extended moles = static_cast<batch::Extended>(element.count) / oxide->atoms;
        yield.oxides.push_back(OxideShare{QString::fromLatin1(oxide->oxide), moles});
        oxideMass += moles * oxideMolarMass(*oxide);
    }
    static const batch::Extended carbonDioxide = formulaMass("CO2"), water = formulaMass("H2O");
    yield.carbonDioxide = yield.formula.atoms(QStringLiteral("C")) * carbonDioxide;
    yield.water = yield.formula.atoms(QStringLiteral("H")) * water / 2;
    yield.otherGases = yield.molarMass - oxideMass - yield.carbonDioxide - yield.water;
    return yield;
}

} // namespace chemistry
