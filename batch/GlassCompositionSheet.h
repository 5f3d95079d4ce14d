#pragma once

// The composition of a glass as the user types it: texts only, converted when calculated.

#include <QString>
#include <array>
#include <vector>

namespace batch {

// Oxide, content, raw material, purity %, moisture %, volatilisation %, fixed amount (grams as
// weighed per 100 g of glass). A row names an oxide and the raw material that carries it, or a
// raw material and its fixed amount (an addition such as sodium sulfate, coal or a colorant).
inline constexpr int kCompositionColumns = 7;
// The columns of a composition without fixed amounts: the first six, as files had them before.
inline constexpr int kCompositionColumnsWithoutAmount = 6;
// Listed oxides and additions together.
inline constexpr int kCompositionRows = 30;
enum CompositionColumn : int {
    kOxideColumn,
    kContentColumn,
    kMaterialColumn,
    kPurityColumn,
    kMoistureColumn,
    kVolatilisationColumn,
    kAmountColumn,
};
using CompositionRowText = std::array<QString, kCompositionColumns>;

struct GlassCompositionSheet {
    std::vector<CompositionRowText> rows; // at most kCompositionRows
    bool molePercent = false;
    QString glassMass;
    QString cullet;
};

// Column captions of the composition grid and of its file.
inline constexpr const char* kCompositionHeaders[kCompositionColumns] = {"Оксид",
                                                                         "Содержание",
                                                                         "Сырьё",
                                                                         "Чистота, %",
                                                                         "Влажность, %",
                                                                         "Улетучивание, %",
                                                                         "Задано, г на 100 г стекла"};

} // namespace batch
