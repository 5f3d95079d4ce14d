#pragma once

// The properties of a glass from its composition, as the composition window shows them: one row
// per property and model, and the viscosity chart's series.

#include "properties/AppenModel.h"
#include "properties/FluegelModel.h"
#include "properties/GlassComposition.h"
#include "properties/LakatosModel.h"

#include <QString>
#include <optional>
#include <vector>

namespace properties {

// One row of the properties table: texts to write into the grid, and the number behind the value.
struct PropertyRow {
    QString label; // "Плотность, г/см³"
    QString value; // number text of the program; empty when the model gives no value
    QString model; // "Аппен, 1974"
    QString note;  // why there is no value, what was left out, what lies outside the model
    std::optional<batch::Extended> number;
};

// Column captions of the properties table.
inline constexpr const char* kPropertyHeaders[4] = {"Свойство", "Значение", "Модель", "Примечание"};

// A point of the viscosity chart: temperature (°C) and log η, η in Pa·s.
struct ChartPoint {
    double temperature = 0;
    double logViscosity = 0;
};
struct LabelledPoint {
    QString label; // "Размягчение"
    double temperature = 0;
    double logViscosity = 0;
};

inline constexpr double kChartLowestViscosity = 0; // log η, η in Pa·s
inline constexpr double kChartHighestViscosity = 14;
inline constexpr double kChartViscosityStep = 0.05;

struct ViscosityChart {
    QString curveName;             // "Лакатос и др., 1976"
    std::vector<ChartPoint> curve; // the VFT curve from log η 0 to 14 where it reaches; empty without one
    std::vector<LabelledPoint> curveMarks; // its five reference temperatures
    QString pointsName;                    // "Флюгель, 2007"
    std::vector<LabelledPoint> points;     // Fluegel's softening and annealing points, those it gives
};

inline constexpr const char* kTemperatureAxisTitle = "Температура, °C";
inline constexpr const char* kViscosityAxisTitle = "lg η (η в Па·с)";

struct GlassProperties {
    AppenProperties appen;
    LakatosViscosity lakatos;
    FluegelTemperatures fluegel;
    // Always ten, in this order: density, expansion, refractive index (Appen); melting, working
    // (Lakatos); softening (Lakatos, Fluegel); upper annealing (Lakatos, Fluegel); lower
    // annealing (Lakatos).
    std::vector<PropertyRow> rows;
    ViscosityChart chart;
};

// Throws batch::Failure for a composition with a content below zero or not a number, or with
// nothing above zero.
GlassProperties glassProperties(const GlassComposition& composition);

// The rows and the chart of model results already at hand.
std::vector<PropertyRow> propertyRows(const AppenProperties& appen, const LakatosViscosity& lakatos,
                                      const FluegelTemperatures& fluegel);
ViscosityChart viscosityChart(const LakatosViscosity& lakatos, const FluegelTemperatures& fluegel);

} // namespace properties
