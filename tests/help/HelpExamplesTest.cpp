#include "MessageCollector.h"

#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/FractionCalculation.h"
#include "batch/NumberText.h"
#include "batch/TextGrid.h"
#include "chemistry/ElementTable.h"
#include "chemistry/FormulaEditor.h"
#include "chemistry/MassEvaluator.h"
#include "properties/GlassProperties.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

// The worked examples of the guide are read from its tables and run through the program's own
// calculations: every figure a reader is shown is one the program gives.

namespace {

using Rows = QList<QStringList>;

// The rows below the header row of the table on a page whose header starts with `header`, each
// row as the visible texts of its cells.
Rows tableRows(const char* page, const QStringList& header) {
    QFile file(QStringLiteral(VELTRONA_SOURCE_DIR "/help/") + QLatin1String(page));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << page;
    const QString html = QString::fromUtf8(file.readAll());
    static const QRegularExpression table(QStringLiteral("<table>(.*?)</table>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression row(QStringLiteral("<tr>(.*?)</tr>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<t[dh][^>]*>(.*?)</t[dh]>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    for (auto t = table.globalMatch(html); t.hasNext();) {
        Rows rows;
        for (auto r = row.globalMatch(t.next().captured(1)); r.hasNext();) {
            QStringList cells;
            for (auto c = cell.globalMatch(r.next().captured(1)); c.hasNext();)
                cells << visibleText(c.next().captured(1));
            rows << cells;
        }
        if (!rows.isEmpty() && rows.first().mid(0, header.size()) == header)
            return rows.mid(1);
    }
    ADD_FAILURE() << page << " has no table headed " << header.join(u',').toStdString();
    return {};
}

// Presses the keys the guide writes as "Na, 2, B, 4, O, 7, X, 1, 0, H₂O".
chemistry::EntryState press(const QString& keys) {
    chemistry::EntryState state;
    for (const QString& key : keys.split(QStringLiteral(", "))) {
        chemistry::KeyPress press{chemistry::KeyPress::Kind::Element};
        if (key == QLatin1String("X"))
            press.kind = chemistry::KeyPress::Kind::Hydrate;
        else if (key == QStringLiteral("H₂O"))
            press.kind = chemistry::KeyPress::Kind::Water;
        else if (key == QLatin1String("+"))
            press.kind = chemistry::KeyPress::Kind::Plus;
        else if (key == QLatin1String("0"))
            press.kind = chemistry::KeyPress::Kind::Zero;
        else if (key.size() == 1 && key[0].isDigit())
            press = {chemistry::KeyPress::Kind::Digit, 0, {}, key.toInt()};
        else if (const chemistry::ElementKey* element = chemistry::findElementBySymbol(key))
            press = {chemistry::KeyPress::Kind::Element, element->key, key, 0};
        else
            ADD_FAILURE() << "no key " << key.toStdString();
        state = chemistry::pressKey(state, press).state;
    }
    return state;
}

class HelpExamplesTest : public ::testing::Test {
protected:
    void SetUp() override { batch::setDecimalSeparator(QLatin1Char(',')); }
};

} // namespace

TEST_F(HelpExamplesTest, FormulaTableGivesTheFormulaAndMassOfItsKeys) {
    const Rows rows = tableRows("formula.html", {QStringLiteral("Вещество"), QStringLiteral("Клавиши")});
    ASSERT_GE(rows.size(), 4);
    for (const QStringList& row : rows) {
        const chemistry::EntryState entry = press(row[1]);
        EXPECT_EQ(entry.formula.toStdString(), row[2].toStdString()) << row[1].toStdString();
        EXPECT_EQ(chemistry::evaluateMassExpression(entry.massExpression).toStdString(), row[3].toStdString())
            << row[1].toStdString();
    }
}

TEST_F(HelpExamplesTest, BatchAndFractionExamplesGiveTheFiguresShown) {
    struct Example {
        const char* page;
        QStringList header;
        int inputs; // columns typed in; the rest are computed
        QString (*calculate)(batch::TextGrid&, batch::TextGrid&, int);
        void (*setup)(batch::TextGrid&);
        const char* summary[2];
    };
    const Example examples[] = {
        {"batch.html",
         {QStringLiteral("Вещество"), QStringLiteral("Моляр.масса"), QStringLiteral("Мольн. доля")},
         4,
         batch::calculateBatchWeights,
         batch::setupBatchTable,
         {"75,0 SiO2-25,0 Na2O", "74,41 SiO2-25,59 Na2O"}},
        {"fractions.html",
         {QStringLiteral("Вещество"), QStringLiteral("Моляр.масса"), QStringLiteral("Масс, %")},
         3,
         batch::calculateFractions,
         batch::setupFractionTable,
         {"75,58SiO2-24,42Na2O", "75,0SiO2-25,0Na2O"}},
    };
    for (const Example& example : examples) {
        const Rows rows = tableRows(example.page, example.header);
        ASSERT_EQ(rows.size(), 2) << example.page;
        batch::TextGrid table;
        batch::TextGrid summary;
        example.setup(table);
        summary.setDimensions(2, 2);
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < example.inputs; ++c)
                table.setCell(c, r + 1, rows[r][c]);
        EXPECT_EQ(example.calculate(table, summary, static_cast<int>(rows.size())).toStdString(), "");
        for (int r = 0; r < rows.size(); ++r)
            for (int c = example.inputs; c < 5; ++c)
                EXPECT_EQ(table.cell(c, r + 1).toStdString(), rows[r][c].toStdString())
                    << example.page << " row " << r + 1 << " column " << c;
        // The summary lines the page quotes are the ones the calculation writes.
        QFile page(QStringLiteral(VELTRONA_SOURCE_DIR "/help/") + QLatin1String(example.page));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        const QString text = visibleText(QString::fromUtf8(page.readAll()));
        for (int line = 0; line < 2; ++line) {
            EXPECT_EQ(summary.cell(1, line).toStdString(), example.summary[line]);
            EXPECT_TRUE(text.contains(summary.cell(1, line)))
                << example.page << " lacks " << example.summary[line];
        }
    }
}

TEST_F(HelpExamplesTest, PropertiesExampleShowsTheRowsTheModelsGive) {
    const Rows rows = tableRows("properties.html", {QStringLiteral("Свойство"), QStringLiteral("Значение"),
                                                    QStringLiteral("Модель")});
    const properties::GlassComposition containerGlass = {
        {QStringLiteral("SiO2"), 72}, {QStringLiteral("Al2O3"), 2}, {QStringLiteral("CaO"), 8},
        {QStringLiteral("MgO"), 3},   {QStringLiteral("Na2O"), 14}, {QStringLiteral("K2O"), 1}};
    const std::vector<properties::PropertyRow> computed = properties::glassProperties(containerGlass).rows;
    ASSERT_EQ(rows.size(), static_cast<qsizetype>(computed.size()));
    for (size_t r = 0; r < computed.size(); ++r) {
        const QStringList expected = {computed[r].label, computed[r].value, computed[r].model};
        EXPECT_EQ(rows[static_cast<qsizetype>(r)].join(u'|').toStdString(),
                  expected.join(u'|').toStdString());
    }
}
