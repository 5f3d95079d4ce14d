#pragma once

// The composition of a glass as the user types it: texts only, converted when calculated.

#include <QString>
#include <array>
#include <vector>

namespace batch {

// Oxide, content, raw material, purity %, moisture %, volatilisation %.
inline constexpr int kCompositionColumns = 6;
inline constexpr int kCompositionRows = 19;
using CompositionRowText = std::array<QString, kCompositionColumns>;

struct GlassCompositionSheet {
    std::vector<CompositionRowText> rows; // at most kCompositionRows
    bool molePercent = false;
    QString glassMass;
    QString cullet;
};

// Column captions of the composition grid and of its file.
inline constexpr const char* kCompositionHeaders[kCompositionColumns] = {
    "Оксид", "Содержание", "Сырьё", "Чистота, %", "Влажность, %", "Улетучивание, %"};

} // namespace batch
