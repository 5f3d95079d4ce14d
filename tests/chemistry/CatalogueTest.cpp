#include "chemistry/Catalogue.h"
#include "batch/NumberText.h"
#include "chemistry/ElementTable.h"
#include "chemistry/MassEvaluator.h"

#include <gtest/gtest.h>

namespace chemistry {
namespace {

// Masses in units of 10^-5 g/mol, so that sums over a formula are exact.
using Scaled = long long;
constexpr int kDecimals = 5;

Scaled scaledMass(QString text) {
    if (text.startsWith(u'+')) {
        text.remove(0, 1);
    }
    const qsizetype comma = text.indexOf(u',');
    QString whole = comma < 0 ? text : text.left(comma);
    QString fraction = comma < 0 ? QString() : text.mid(comma + 1);
    EXPECT_LE(fraction.size(), kDecimals) << text.toStdString();
    fraction = fraction.leftJustified(kDecimals, u'0');
    bool okWhole = false;
    bool okFraction = false;
    const Scaled value = whole.toLongLong(&okWhole) * 100000 + fraction.toLongLong(&okFraction);
    EXPECT_TRUE(okWhole && okFraction) << text.toStdString();
    return value;
}

QString scaledText(Scaled value) {
    QString text = QString::number(value / 100000) + u',' +
                   QStringLiteral("%1").arg(value % 100000, kDecimals, 10, QLatin1Char('0'));
    while (text.endsWith(u'0')) {
        text.chop(1);
    }
    if (text.endsWith(u',')) {
        text.chop(1);
    }
    return text;
}

// Sum of element masses over a formula such as "Ca(BO3)2" or "CuFeS2".
class FormulaMass {
public:
    explicit FormulaMass(const QString& formula) : text_(formula) {}

    Scaled total() {
        const Scaled sum = group();
        EXPECT_EQ(pos_, text_.size()) << "unbalanced " << text_.toStdString();
        return sum;
    }

private:
    Scaled group() {
        Scaled sum = 0;
        while (pos_ < text_.size() && text_.at(pos_) != u')') {
            Scaled part = 0;
            if (text_.at(pos_) == u'(') {
                ++pos_;
                part = group();
                EXPECT_TRUE(pos_ < text_.size() && text_.at(pos_) == u')') << text_.toStdString();
                ++pos_;
            } else {
                part = element();
            }
            sum += part * count();
        }
        return sum;
    }
    Scaled element() {
        const qsizetype start = pos_;
        if (!text_.at(pos_).isUpper()) {
            ADD_FAILURE() << "unexpected character in " << text_.toStdString();
            ++pos_;
            return 0;
        }
        ++pos_;
        while (pos_ < text_.size() && text_.at(pos_).isLower()) {
            ++pos_;
        }
        const QString symbol = text_.mid(start, pos_ - start);
        const ElementKey* key = findElementBySymbol(symbol);
        if (key == nullptr) {
            ADD_FAILURE() << "no element " << symbol.toStdString();
            return 0;
        }
        return scaledMass(key->massText);
    }
    Scaled count() {
        Scaled n = 0;
        bool any = false;
        while (pos_ < text_.size() && text_.at(pos_).isDigit()) {
            n = n * 10 + text_.at(pos_).digitValue();
            any = true;
            ++pos_;
        }
        return any ? n : 1;
    }

    QString text_;
    qsizetype pos_ = 0;
};

TEST(Catalogue, EveryMolarMassIsTheExactSumOverItsFormula) {
    int checked = 0;
    for (const CatalogueList& list : catalogueLists()) {
        for (const CatalogueEntry& entry : list.entries) {
            EXPECT_EQ(entry.molarMass, scaledText(FormulaMass(entry.formula).total()))
                << list.hint.toStdString() << " " << entry.itemText.toStdString();
            ++checked;
        }
    }
    EXPECT_EQ(checked, 26 + 15 + 13 + 4 + 5 + 12);
}

TEST(Catalogue, ListsAreNumberedAsTheyAreShown) {
    const struct {
        const char* hint;
        std::size_t entries;
    } expected[kCatalogueListCount] = {{"Оксиды", 26},  {"Фториды", 15}, {"Сульфиды", 13},
                                       {"Силикаты", 4}, {"Бораты", 5},   {"Хлориды", 12}};
    const auto& lists = catalogueLists();
    ASSERT_EQ(lists.size(), std::size_t{kCatalogueListCount});
    for (int i = 0; i < kCatalogueListCount; ++i) {
        const CatalogueList& list = lists[static_cast<std::size_t>(i)];
        EXPECT_EQ(list.hint, QString::fromUtf8(expected[i].hint));
        EXPECT_EQ(list.caption, QString::fromUtf8(expected[i].hint) + QStringLiteral(" :"));
        ASSERT_EQ(list.entries.size(), expected[i].entries) << expected[i].hint;
        for (std::size_t k = 0; k < list.entries.size(); ++k) {
            const CatalogueEntry& entry = list.entries[k];
            EXPECT_EQ(entry.item, static_cast<int>(k + 1));
            EXPECT_EQ(entry.itemText, QString::number(entry.item) + QStringLiteral(". ") + entry.formula);
        }
    }
}

TEST(Catalogue, ChosenEntryEvaluatesToItsMolarMass) {
    batch::setDecimalSeparator(u',');
    for (const CatalogueList& list : catalogueLists()) {
        for (const CatalogueEntry& entry : list.entries) {
            const bool ownPlus = &list == &catalogueLists().front() && entry.item <= 3;
            EXPECT_EQ(entry.expressionText, ownPlus ? QStringLiteral("+") + entry.molarMass : entry.molarMass)
                << entry.itemText.toStdString();
            const EntryState chosen = chooseEntry(entry);
            EXPECT_EQ(chosen.formula, entry.formula);
            EXPECT_EQ(chosen.massExpression, QStringLiteral("0") + entry.expressionText);
            EXPECT_EQ(evaluateMassExpression(chosen.massExpression), entry.molarMass)
                << entry.itemText.toStdString();
        }
    }
}

TEST(Catalogue, ChoiceStartsTheEntryAfresh) {
    batch::setDecimalSeparator(u',');
    const CatalogueEntry& alumina = catalogueLists()[0].entries[3];
    ASSERT_EQ(alumina.itemText, QStringLiteral("4. Al2O3"));

    const EntryState chosen = chooseEntry(alumina);
    EXPECT_EQ(chosen.massExpression, QStringLiteral("0101,9612"));
    EXPECT_FALSE(chosen.hydrateMode);
    EXPECT_FALSE(chosen.countOpen);

    // Keys extend a chosen substance.
    const ElementKey* oxygen = findElementBySymbol(QStringLiteral("O"));
    ASSERT_NE(oxygen, nullptr);
    const EntryState extended =
        pressKey(chosen, {KeyPress::Kind::Element, oxygen->key, oxygen->symbol}).state;
    EXPECT_EQ(extended.formula, QStringLiteral("Al2O3O"));
    EXPECT_EQ(extended.massExpression, QStringLiteral("0101,9612+15,9994"));
    EXPECT_EQ(evaluateMassExpression(extended.massExpression), QStringLiteral("117,9606"));
}

TEST(Catalogue, BuiltInMassesFailUnderAPointSeparator) {
    batch::setDecimalSeparator(u'.');
    const CatalogueEntry& silica = catalogueLists()[0].entries[0];
    const CatalogueEntry& alumina = catalogueLists()[0].entries[3];
    EXPECT_EQ(silica.molarMass, QStringLiteral("60,0848"));
    EXPECT_THROW(evaluateMassExpression(chooseEntry(silica).massExpression), std::exception);
    try {
        evaluateMassExpression(chooseEntry(alumina).massExpression);
        ADD_FAILURE() << "0101,9612 converted under a point separator";
    } catch (const std::exception& failure) {
        EXPECT_STREQ(failure.what(), "'0101,9612' is not a valid floating point value");
    }
    batch::setDecimalSeparator(u',');
}

} // namespace
} // namespace chemistry
