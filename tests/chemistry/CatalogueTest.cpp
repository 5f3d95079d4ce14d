#include "chemistry/Catalogue.h"
#include "FailureOf.h"
#include "batch/NumberText.h"
#include "chemistry/ElementTable.h"
#include "chemistry/MassEvaluator.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace chemistry {
namespace {

// Masses in units of 10^-5 g/mol, so that sums over a formula are exact.
long long scaledMass(const QString& text) {
    const QStringList parts = text.mid(text.startsWith(u'+') ? 1 : 0).split(u',');
    return parts[0].toLongLong() * 100000 + parts.value(1).leftJustified(5, u'0').toLongLong();
}

// Sum of the keyboard's element masses over a formula such as "Ca(BO3)2", from position i up to
// a ")" or the end.
long long formulaMass(const QString& formula, qsizetype& i) {
    long long sum = 0;
    while (i < formula.size() && formula[i] != u')') {
        long long part = 0;
        if (formula[i] == u'(') {
            part = formulaMass(formula, ++i);
            ++i;
        } else {
            const qsizetype start = i++;
            while (i < formula.size() && formula[i].isLower())
                ++i;
            const ElementKey* key = findElementBySymbol(formula.mid(start, i - start));
            EXPECT_NE(key, nullptr) << "no element at " << start << " of " << formula.toStdString();
            part = key ? scaledMass(key->massText) : 0;
        }
        const qsizetype digits = i;
        long long count = 0;
        while (i < formula.size() && formula[i].isDigit())
            count = count * 10 + formula[i++].digitValue();
        sum += part * (i > digits ? count : 1);
    }
    return sum;
}

TEST(Catalogue, EveryEntryIsNumberedAndWeighsTheExactSumOverItsFormula) {
    batch::setDecimalSeparator(u',');
    const struct {
        const char* hint;
        std::size_t entries;
    } expected[kCatalogueListCount] = {{"Оксиды", 26},  {"Фториды", 15}, {"Сульфиды", 13},
                                       {"Силикаты", 4}, {"Бораты", 5},   {"Хлориды", 12}};
    const auto& lists = catalogueLists();
    ASSERT_EQ(lists.size(), std::size_t{kCatalogueListCount});
    for (int i = 0; i < kCatalogueListCount; ++i) {
        const CatalogueList& list = lists[std::size_t(i)];
        EXPECT_EQ(list.hint, QString::fromUtf8(expected[i].hint));
        EXPECT_EQ(list.caption, QString::fromUtf8(expected[i].hint) + QStringLiteral(" :"));
        ASSERT_EQ(list.entries.size(), expected[i].entries) << expected[i].hint;
        for (const CatalogueEntry& entry : list.entries) {
            SCOPED_TRACE(entry.itemText.toStdString());
            EXPECT_EQ(entry.itemText, QString::number(entry.item) + QStringLiteral(". ") + entry.formula);
            EXPECT_EQ(&entry - list.entries.data() + 1, entry.item);
            qsizetype end = 0;
            EXPECT_EQ(scaledMass(entry.molarMass), formulaMass(entry.formula, end));
            EXPECT_EQ(end, entry.formula.size()) << "unbalanced parentheses";
            // Only oxides 1 to 3 bring their own "+".
            EXPECT_EQ(entry.expressionText, (i == 0 && entry.item <= 3 ? "+" : "") + entry.molarMass);
            const EntryState chosen = chooseEntry(entry);
            EXPECT_EQ(chosen.formula, entry.formula);
            EXPECT_EQ(chosen.massExpression, QStringLiteral("0") + entry.expressionText);
            EXPECT_EQ(evaluateMassExpression(chosen.massExpression), entry.molarMass);
        }
    }
}

TEST(Catalogue, ChoiceStartsTheEntryAfreshAndKeysExtendIt) {
    batch::setDecimalSeparator(u',');
    const CatalogueEntry& alumina = catalogueLists()[0].entries[3];
    ASSERT_EQ(alumina.itemText, QStringLiteral("4. Al2O3"));
    const EntryState chosen = chooseEntry(alumina);
    EXPECT_EQ(chosen.massExpression, QStringLiteral("0101,9612"));
    EXPECT_FALSE(chosen.hydrateMode || chosen.countOpen);

    const ElementKey* oxygen = findElementBySymbol(QStringLiteral("O"));
    const EntryState extended =
        pressKey(chosen, {KeyPress::Kind::Element, oxygen->key, oxygen->symbol}).state;
    EXPECT_EQ(extended.formula, QStringLiteral("Al2O3O"));
    EXPECT_EQ(extended.massExpression, QStringLiteral("0101,9612+15,9994"));
    EXPECT_EQ(evaluateMassExpression(extended.massExpression), QStringLiteral("117,9606"));

    // The built-in masses carry a comma whatever the separator, so they fail under a point.
    batch::setDecimalSeparator(u'.');
    EXPECT_EQ(failureOf([&] { evaluateMassExpression(chosen.massExpression); }),
              QStringLiteral("'0101,9612' is not a valid floating point value"));
    batch::setDecimalSeparator(u',');
}

} // namespace
} // namespace chemistry
