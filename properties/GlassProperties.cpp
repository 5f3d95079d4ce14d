#include "properties/GlassProperties.h"

#include <cmath>

namespace properties {

namespace {

const char* const kAppenModel = "Аппен, 1974";
const char* const kLakatosModel = "Лакатос и др., 1976";
const char* const kFluegelModel = "Флюгель, 2007";

// The reference viscosities as rows and chart marks name them.
struct Reference {
    const char* label;
    const char* mark;
    batch::Extended logViscosity;
};
constexpr Reference kMelting = {"Температура варки (η = 10 Па·с), °C", "Варка", kMeltingViscosity};
constexpr Reference kWorking = {"Точка выработки (η = 10³ Па·с), °C", "Выработка", kWorkingViscosity};
constexpr Reference kSoftening = {"Температура размягчения (η = 10^6,6 Па·с), °C", "Размягчение",
                                  kSofteningViscosity};
constexpr Reference kUpperAnnealing = {"Верхняя температура отжига (η = 10¹² Па·с), °C", "Верхний отжиг",
                                       kUpperAnnealingViscosity};
constexpr Reference kLowerAnnealing = {"Нижняя температура отжига (η = 10^13,5 Па·с), °C", "Нижний отжиг",
                                       kLowerAnnealingViscosity};
constexpr const Reference* kLakatosReferences[] = {&kMelting, &kWorking, &kSoftening, &kUpperAnnealing,
                                                   &kLowerAnnealing};

PropertyRow row(const char* label, const char* model, bool valid, batch::Extended value, int decimals,
                const QString& note) {
    PropertyRow result{QString::fromUtf8(label), QString(), QString::fromUtf8(model), note, std::nullopt};
    if (valid) {
        result.value = batch::fixedText(value, 15, decimals);
        result.number = value;
    }
    return result;
}

std::optional<batch::Extended> lakatosTemperature(const LakatosViscosity& lakatos,
                                                  const Reference& reference) {
    return lakatos.curve ? lakatos.curve->temperature(reference.logViscosity) : std::nullopt;
}

PropertyRow lakatosRow(const LakatosViscosity& lakatos, const Reference& reference) {
    const std::optional<batch::Extended> temperature = lakatosTemperature(lakatos, reference);
    return row(reference.label, kLakatosModel, temperature.has_value(), temperature.value_or(0), 0,
               lakatos.note);
}

PropertyRow fluegelRow(const FluegelTemperature& fluegel, const Reference& reference) {
    return row(reference.label, kFluegelModel, fluegel.valid, fluegel.temperature, 0, fluegel.note);
}

// A chart point where both coordinates fit a double; the chart has no place for others.
template <typename Point> bool finite(const Point& point) {
    return std::isfinite(point.temperature) && std::isfinite(point.logViscosity);
}

} // namespace

std::vector<PropertyRow> propertyRows(const AppenProperties& appen, const LakatosViscosity& lakatos,
                                      const FluegelTemperatures& fluegel) {
    return {
        row("Плотность, г/см³", kAppenModel, appen.valid, appen.density, 3, appen.note),
        row("ТКЛР α·10⁷, К⁻¹", kAppenModel, appen.valid, appen.expansion, 1, appen.note),
        row("Показатель преломления n_D", kAppenModel, appen.valid, appen.refractiveIndex, 4, appen.note),
        lakatosRow(lakatos, kMelting),
        lakatosRow(lakatos, kWorking),
        lakatosRow(lakatos, kSoftening),
        fluegelRow(fluegel.softening, kSoftening),
        lakatosRow(lakatos, kUpperAnnealing),
        fluegelRow(fluegel.annealing, kUpperAnnealing),
        lakatosRow(lakatos, kLowerAnnealing),
    };
}

ViscosityChart viscosityChart(const LakatosViscosity& lakatos, const FluegelTemperatures& fluegel) {
    ViscosityChart chart;
    chart.curveName = QString::fromUtf8(kLakatosModel);
    chart.pointsName = QString::fromUtf8(kFluegelModel);
    if (lakatos.curve) {
        const int steps = static_cast<int>(
            std::lround((kChartHighestViscosity - kChartLowestViscosity) / kChartViscosityStep));
        for (int i = 0; i <= steps; ++i) {
            const double logViscosity = kChartLowestViscosity + i * kChartViscosityStep;
            if (const auto temperature = lakatos.curve->temperature(logViscosity)) {
                const ChartPoint point{static_cast<double>(*temperature), logViscosity};
                if (finite(point))
                    chart.curve.push_back(point);
            }
        }
        for (const Reference* reference : kLakatosReferences) {
            const LabelledPoint point{
                QString::fromUtf8(reference->mark),
                static_cast<double>(lakatosTemperature(lakatos, *reference).value_or(NAN)),
                static_cast<double>(reference->logViscosity)};
            if (finite(point))
                chart.curveMarks.push_back(point);
        }
    }
    const std::pair<const FluegelTemperature*, const Reference*> fluegelPoints[] = {
        {&fluegel.softening, &kSoftening}, {&fluegel.annealing, &kUpperAnnealing}};
    for (const auto& [temperature, reference] : fluegelPoints) {
        const LabelledPoint point{QString::fromUtf8(reference->mark),
                                  static_cast<double>(temperature->temperature),
                                  static_cast<double>(reference->logViscosity)};
        if (temperature->valid && finite(point))
            chart.points.push_back(point);
    }
    return chart;
}

GlassProperties glassProperties(const GlassComposition& composition) {
    GlassProperties result;
    result.appen = appenProperties(composition);
    result.lakatos = lakatosViscosity(composition);
    result.fluegel = fluegelTemperatures(composition);
    result.rows = propertyRows(result.appen, result.lakatos, result.fluegel);
    result.chart = viscosityChart(result.lakatos, result.fluegel);
    return result;
}

} // namespace properties
