#include "properties/FluegelModel.h"

#include "properties/ModelLimits.h"

#include <span>

namespace properties {

namespace {

// A. Fluegel, "Glass viscosity calculation based on a global statistical modelling approach",
// Glass Technology: Eur. J. Glass Sci. Technol. A 48 (2007) 13–30. Contents c_i in mol %, SiO2
// the balance: T (°C) = b0 + Σ b_i c_i + Σ b_ii c_i² + Σ b_iii c_i³ + Σ b_ij c_i c_j + Σ b_ijk c_i c_j c_k.
// Each term is its coefficient times the contents of the oxides it names (a square names its
// oxide twice); the constant names none.
struct FluegelTerm {
    double coefficient;
    std::array<const char*, 3> oxides;
};

// log η = 6,6 (η in Pa·s): the softening point.
constexpr FluegelTerm kSoftening[] = {
    {939.479, {}},
    {5.812, {"Al2O3"}},
    {-4.366, {"B2O3"}},
    {-3.385, {"BaO"}},
    {-1.791, {"CaO"}},
    {-11.013, {"Fe2O3"}},
    {-20.659, {"K2O"}},
    {-25.075, {"Li2O"}},
    {0.93, {"MgO"}},
    {-19.051, {"Na2O"}},
    {14.857, {"P2O5"}},
    {-8.871, {"PbO"}},
    {-2.191, {"SrO"}},
    {-2.862, {"TiO2"}},
    {-1.065, {"ZnO"}},
    {12.425, {"ZrO2"}},
    {-0.17367, {"B2O3", "B2O3"}},
    {0.58116, {"K2O", "K2O"}},
    {0.46012, {"Li2O", "Li2O"}},
    {0.32209, {"Na2O", "Na2O"}},
    {-0.009370, {"K2O", "K2O", "K2O"}},
    {-0.002080, {"Na2O", "Na2O", "Na2O"}},
    {0.32005, {"B2O3", "Na2O"}},
    {0.42514, {"B2O3", "K2O"}},
    {0.39626, {"B2O3", "Li2O"}},
    {-0.24066, {"B2O3", "CaO"}},
    {0.08442, {"Al2O3", "Na2O"}},
    {0.48055, {"Al2O3", "K2O"}},
    {0.15519, {"Na2O", "K2O"}},
    {0.20781, {"Na2O", "Li2O"}},
    {0.09392, {"Na2O", "CaO"}},
    {0.46938, {"K2O", "Li2O"}},
    {0.26354, {"K2O", "MgO"}},
    {0.47564, {"K2O", "CaO"}},
    {-0.15553, {"MgO", "CaO"}},
    {-0.033573, {"B2O3", "Al2O3", "Na2O"}},
    {-0.006780, {"Al2O3", "Na2O", "CaO"}},
    {-0.012589, {"Na2O", "MgO", "CaO"}},
};

// log η = 12,0 (η in Pa·s): the annealing point. P2O5 and ZnO have no term here, so this model
// does not know them.
constexpr FluegelTerm kAnnealing[] = {
    {624.829, {}},
    {4.929, {"Al2O3"}},
    {-1.121, {"B2O3"}},
    {-1.110, {"BaO"}},
    {6.84, {"CaO"}},
    {-8.453, {"Fe2O3"}},
    {-12.460, {"K2O"}},
    {-11.571, {"Li2O"}},
    {1.141, {"MgO"}},
    {-12.854, {"Na2O"}},
    {-4.349, {"PbO"}},
    {1.388, {"SrO"}},
    {3.864, {"TiO2"}},
    {8.927, {"ZrO2"}},
    {-0.08269, {"CaO", "CaO"}},
    {0.39706, {"K2O", "K2O"}},
    {0.27802, {"Li2O", "Li2O"}},
    {0.35785, {"Na2O", "Na2O"}},
    {-0.005382, {"K2O", "K2O", "K2O"}},
    {-0.002576, {"Li2O", "Li2O", "Li2O"}},
    {-0.004179, {"Na2O", "Na2O", "Na2O"}},
    {0.38413, {"B2O3", "Na2O"}},
    {-0.20958, {"B2O3", "CaO"}},
    {-0.33380, {"B2O3", "Al2O3"}},
    {-0.13741, {"Al2O3", "CaO"}},
    {0.06169, {"Na2O", "K2O"}},
    {0.08558, {"Na2O", "Li2O"}},
    {-0.10283, {"Na2O", "CaO"}},
    {0.17538, {"K2O", "Li2O"}},
    {0.27425, {"K2O", "MgO"}},
    {0.2247, {"K2O", "CaO"}},
    {-0.21563, {"MgO", "CaO"}},
    {-0.88170, {"CaO", "Li2O"}},
    {0.013868, {"Al2O3", "Na2O", "CaO"}},
};

// The glasses the models were fitted to, mol %.
constexpr ContentRange kRange[] = {
    {"SiO2", 42.6L, 89.2L}, {"Al2O3", 0, 12.7L}, {"B2O3", 0, 17}, {"CaO", 0, 33},
    {"MgO", 0, 20},         {"Na2O", 0, 42},     {"K2O", 0, 30},
};

const char* const kSilica = "SiO2";

bool knows(std::span<const FluegelTerm> model, QStringView oxide) {
    if (oxide == QLatin1String(kSilica))
        return true;
    for (const FluegelTerm& term : model)
        for (const char* named : term.oxides)
            if (named && oxide == QLatin1String(named))
                return true;
    return false;
}

QStringList oxidesOf(std::span<const FluegelTerm> model) {
    QStringList oxides{QLatin1String(kSilica)};
    for (const FluegelTerm& term : model)
        for (const char* named : term.oxides)
            if (named && !oxides.contains(QLatin1String(named)))
                oxides << QLatin1String(named);
    return oxides;
}

FluegelTemperature temperatureOf(std::span<const FluegelTerm> model, const GlassComposition& composition) {
    FluegelTemperature result;
    const ModelInput input = modelInput(
        composition, [model](QStringView oxide) { return knows(model, oxide); }, result.note);
    if (!input.usable)
        return result;
    const Shares moles = molePercent(input.massPercent);
    for (const FluegelTerm& term : model) {
        batch::Extended value = term.coefficient;
        for (const char* named : term.oxides)
            if (named)
                value *= shareOf(moles, QLatin1String(named));
        result.temperature += value;
    }
    result.valid = true;
    addRangeNote(result.note, moles, kRange, true);
    return result;
}

} // namespace

QStringList fluegelSofteningOxides() {
    return oxidesOf(kSoftening);
}

QStringList fluegelAnnealingOxides() {
    return oxidesOf(kAnnealing);
}

FluegelTemperatures fluegelTemperatures(const GlassComposition& composition) {
    return {temperatureOf(kSoftening, composition), temperatureOf(kAnnealing, composition)};
}

} // namespace properties
