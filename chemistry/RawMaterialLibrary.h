#pragma once

// Raw materials as a plant knows them. A material is given either by its formula (an ideal
// compound of a given purity, the rest inert) or by the analysis of its certificate: the mass %
// of the glass oxides and the loss on ignition (ППП), of which the CO2 is a part and the rest
// water. The library is the user's file Data/RawMaterials.csv (storage/RawMaterialsFile.h); its
// checks live here so that the file and the windows refuse the same things with the same words.

#include "batch/NumberText.h"
#include "chemistry/OxideYield.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace chemistry {

// The fixed columns of the library, in the order the file has them; the oxide columns follow.
inline constexpr std::array<const char*, 7> kRawMaterialColumns{
    "Название", "Формула", "Чистота, %", "Влажность, %", "Цена, руб/т", "ППП, %", "CO2, %"};

inline constexpr int kMaxRawMaterials = 1000;
// An analysis and its ППП add up to 100 within this many percent; they are used as given.
inline constexpr batch::Extended kAnalysisTolerance = 0.5L;

struct OxidePercent {
    QString oxide; // a glass oxide of chemistry/OxideYield.h, written as there ("SiO2")
    batch::Extended percent = 0;
    bool operator==(const OxidePercent&) const = default;
};

struct RawMaterial {
    QString name;
    QString formula;                               // empty for a material given by its analysis
    std::vector<OxidePercent> analysis;            // mass % of the dry material, each oxide once
    std::optional<batch::Extended> purity;         // %, formula materials only; none means 100
    std::optional<batch::Extended> moisture;       // % of the material as delivered
    std::optional<batch::Extended> price;          // руб/т of the material as delivered
    std::optional<batch::Extended> lossOnIgnition; // ППП, % of the dry material; analysis only
    std::optional<batch::Extended> carbonDioxide;  // CO2, % of the dry material, part of the ППП

    bool byFormula() const { return !formula.trimmed().isEmpty(); }
    bool operator==(const RawMaterial&) const = default;
};

struct RawMaterialLibrary {
    // The oxide columns of the file in their order, kept so that saving keeps the user's layout;
    // an oxide of an analysis that is not among them gets a column of its own when written.
    QStringList oxideColumns;
    std::vector<RawMaterial> materials;

    // The material of that name (compared without surrounding blanks), or nullptr.
    const RawMaterial* find(const QString& name) const;
    bool operator==(const RawMaterialLibrary&) const = default;
};

struct OxideGrams {
    QString oxide;
    batch::Extended grams = 0;
};

// What one gram of the dry material brings to the melt.
struct DryGramYield {
    // Grams of each glass oxide, in the order of the formula's elements or of the analysis.
    std::vector<OxideGrams> oxides;
    batch::Extended carbonDioxide = 0; // grams of CO2 that leave the melt
    batch::Extended water = 0;         // grams of water that leave the melt
    // Grams of other gases (nitrogen oxides, oxygen); negative when the material takes oxygen up
    // from the air. Formula materials only: an analysis counts its whole ППП as CO2 and water.
    batch::Extended otherGases = 0;
    // Grams that are neither oxide nor gas and are lost: the impurity of a formula material.
    // An analysis is used as given, so its oxides and ППП may add up to 0,995…1,005 g.
    batch::Extended inert = 0;
};

// For a material that passes checkRawMaterial; throws batch::Failure when the formula is refused
// (see rawMaterialYield).
DryGramYield dryGramYield(const RawMaterial& material);
// What one gram of a material of the given formula and purity (a share, 0 to 1) brings.
DryGramYield dryGramYield(const RawMaterialYield& yield, batch::Extended purity);

// The failure of a library line: "Справочник сырья, строка 5 («Песок»): …". The line is the
// line of the file; the material is named where there is one.
[[noreturn]] void throwRawMaterialFault(int line, const QString& material, const QString& what);

// Checks one material as it stands on the given line of the file; throws the failure above.
void checkRawMaterial(const RawMaterial& material, int line);
// Checks every material, on the line it gets when the library is written (the header is line 1),
// and that no two share a name or the library holds more than kMaxRawMaterials.
void checkRawMaterialLibrary(const RawMaterialLibrary& library);
// Checks a name against the names before it; `lines` maps a name (trimmed) to its line.
void checkUniqueRawMaterialName(const QString& name, int line, QHash<QString, int>& lines);

// A number of the library written as text: a cell of the file or a field of the library window.
// "," and "." both serve as the decimal separator, whatever the regional settings say; an empty
// text is no number. Throws the failure of the line and material: "в столбце «…» не число: «…»".
std::optional<batch::Extended> rawMaterialNumber(const QString& text, const QString& column, int line,
                                                 const QString& name);
// The shortest of the program's number texts that reads back as the same value, with the given
// decimal separator; empty for none.
QString rawMaterialNumberText(const std::optional<batch::Extended>& value, QChar separator);

// A material as the library window holds it while it is being edited: its fields as typed.
struct RawMaterialTexts {
    QString name, formula, purity, moisture, price, lossOnIgnition, carbonDioxide;
    // Glass oxides and their mass % as typed; an oxide whose text is blank is not in the analysis.
    std::vector<std::pair<QString, QString>> analysis;
    bool operator==(const RawMaterialTexts&) const = default;
};
// The material those texts give, checked as it would stand on the given line of the file, with
// the messages of the file reader (numbers first, in the order of the columns, then
// checkRawMaterial).
RawMaterial rawMaterialFromTexts(const RawMaterialTexts& texts, int line);
// The texts of a material, its numbers written with the given decimal separator.
RawMaterialTexts rawMaterialTexts(const RawMaterial& material, QChar separator);
// The library of those materials, in their order, with the given oxide columns: each material is
// checked on the line it gets in the file, and against the names before it. Throws the failure of
// the first material at fault, whose index goes into `faultIndex` (when given) first.
RawMaterialLibrary rawMaterialLibraryFromTexts(const std::vector<RawMaterialTexts>& materials,
                                               const QStringList& oxideColumns, int* faultIndex = nullptr);
// `wanted`, or else "wanted 2", "wanted 3" …, whichever no material has as its name.
QString unusedRawMaterialName(const std::vector<RawMaterialTexts>& materials, const QString& wanted);

// Import: the names of the materials of `incoming` that `library` holds already, in the order of
// `incoming`, so that a window can ask which of them to replace.
QStringList collidingRawMaterials(const RawMaterialLibrary& library, const RawMaterialLibrary& incoming);
// The library with the materials of `incoming` added at the end. One whose name the library
// holds already replaces that material in its place when its name is in `replaced`, and is left
// out otherwise. Oxide columns new to the library are added after its own. Throws
// batch::Failure when the result would hold more than kMaxRawMaterials.
RawMaterialLibrary mergeRawMaterials(const RawMaterialLibrary& library, const RawMaterialLibrary& incoming,
                                     const QSet<QString>& replaced);

} // namespace chemistry
