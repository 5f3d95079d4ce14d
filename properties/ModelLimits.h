#pragma once

// What every property model shares: it sees only the oxides it knows, renormalised, and it tells
// the user in a note what it left out, what it cannot take and where the glass lies outside the
// glasses its coefficients were fitted to.

#include "properties/GlassComposition.h"

#include <QString>
#include <functional>
#include <span>
#include <vector>

namespace properties {

// An oxide's share of a glass, in mass % or mol % as the model at hand counts.
struct Share {
    QString oxide;
    batch::Extended percent = 0;
};
using Shares = std::vector<Share>;

// 0 for an oxide the shares do not name.
batch::Extended shareOf(const Shares& shares, QLatin1String oxide);

// The notes beside a value join into one text, "; " between them.
void addNote(QString& notes, const QString& text);

struct ModelInput {
    bool usable = false;
    Shares massPercent; // the oxides the model knows, renormalised to 100
};

// The glass as a model takes it. Oxides that `known` refuses are left out when they are at most
// 1 mass % of the glass together: the rest is renormalised and the notes name them with their
// contents ("не учтены: Fe2O3 0,05 %"). Above that the model cannot be used, and the notes name
// them ("модель не учитывает B2O3"). Throws batch::Failure when the composition has a content
// below zero or not a number, or no content above zero.
ModelInput modelInput(const GlassComposition& composition, const std::function<bool(QStringView)>& known,
                      QString& notes);

// The molar mass of an oxide of the program's table, from the element table.
batch::Extended molarMassOf(const QString& oxide);
// Mass % of oxides of the program's table turned into mol %.
Shares molePercent(const Shares& massPercent);

// Where the glasses a model was fitted to lie; low 0 for a bound from above only.
struct ContentRange {
    const char* oxide;
    batch::Extended low;
    batch::Extended high;
};

// Names every oxide whose content lies outside its range, in the unit of the model
// ("вне области модели: Na2O 4,0 масс. % (10–17)"). An oxide the shares lack has content 0.
void addRangeNote(QString& notes, const Shares& shares, std::span<const ContentRange> ranges,
                  bool molePercent);

} // namespace properties
