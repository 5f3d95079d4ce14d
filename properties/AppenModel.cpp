#include "properties/AppenModel.h"

#include "properties/ModelLimits.h"

namespace properties {

namespace {

// А. А. Аппен, «Химия стекла», 2-е изд., Л.: Химия, 1974: partial coefficients over mol %,
// n_D = Σ p n / 100, α·10⁷ = Σ p α / 100, ρ = Σ p M / Σ p V.
struct AppenCoefficients {
    const char* oxide;
    double refraction; // n_i
    double volume;     // V_i, cm³/mol
    double expansion;  // α_i·10⁷, K⁻¹
};

constexpr AppenCoefficients kAppen[] = {
    {"Na2O", 1.590, 20.2, 395}, {"K2O", 1.575, 34.1, 465}, {"Li2O", 1.695, 11.0, 270},
    {"CaO", 1.730, 14.4, 130},  {"MgO", 1.610, 12.5, 60},  {"BaO", 1.880, 22.0, 200},
    {"SrO", 1.775, 18.0, 160},  {"ZnO", 1.710, 14.5, 50},  {"Al2O3", 1.520, 40.4, -30},
};
// SiO2's coefficients depend on its own content ψ (mol %): constant up to 67, beyond that
// n = 1,475 − 0,0005(ψ − 67), V = 26,10 + 0,035(ψ − 67), α = 38 − (ψ − 67).
constexpr double kSilicaRefraction = 1.475, kSilicaRefractionSlope = -0.0005;
constexpr double kSilicaVolume = 26.10, kSilicaVolumeSlope = 0.035;
constexpr double kSilicaExpansion = 38, kSilicaExpansionSlope = -1;
constexpr double kSilicaThreshold = 67;
// B2O3, PbO and TiO2 have coefficients of their own that depend on the whole glass; they are
// not in the table, so the model treats them as oxides it does not know.

const char* const kSilica = "SiO2";

bool knows(QStringView oxide) {
    if (oxide == QLatin1String(kSilica))
        return true;
    for (const AppenCoefficients& entry : kAppen)
        if (oxide == QLatin1String(entry.oxide))
            return true;
    return false;
}

} // namespace

QStringList appenOxides() {
    QStringList oxides{QLatin1String(kSilica)};
    for (const AppenCoefficients& entry : kAppen)
        oxides << QLatin1String(entry.oxide);
    return oxides;
}

AppenProperties appenProperties(const GlassComposition& composition) {
    AppenProperties result;
    const ModelInput input = modelInput(composition, knows, result.note);
    if (!input.usable)
        return result;
    const Shares moles = molePercent(input.massPercent);

    const batch::Extended silica = shareOf(moles, QLatin1String(kSilica));
    const batch::Extended excess = silica > kSilicaThreshold ? silica - kSilicaThreshold : 0;
    batch::Extended refraction = silica * (kSilicaRefraction + kSilicaRefractionSlope * excess);
    batch::Extended expansion = silica * (kSilicaExpansion + kSilicaExpansionSlope * excess);
    batch::Extended volume = silica * (kSilicaVolume + kSilicaVolumeSlope * excess);
    batch::Extended mass = silica * molarMassOf(QLatin1String(kSilica));
    for (const AppenCoefficients& entry : kAppen) {
        const batch::Extended p = shareOf(moles, QLatin1String(entry.oxide));
        if (p == 0)
            continue;
        refraction += p * entry.refraction;
        expansion += p * entry.expansion;
        volume += p * entry.volume;
        mass += p * molarMassOf(QLatin1String(entry.oxide));
    }
    result.refractiveIndex = refraction / 100;
    result.expansion = expansion / 100;
    result.density = mass / volume;
    result.valid = true;
    return result;
}

} // namespace properties
