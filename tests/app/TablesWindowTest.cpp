// The batch weight table and the fraction table of the main window, filled and calculated through
// the formula entry, the catalogue, the table buttons and the "Расчёт" commands. The figures of
// the calculations themselves are the core tests' business; here one example per table shows
// that each command runs the right calculation on the right table.
#include "MainWindowFixture.h"

namespace {

const QString kMissingMassPercent = QStringLiteral("Введите массовую долю (Масс,%) !");

class TablesWindowTest : public MainWindowTest {
protected:
    static QStringList column(const batch::TextGrid& grid, int col, int rows = 2) {
        QStringList texts;
        for (int r = 1; r <= rows; ++r)
            texts << grid.cell(col, r);
        return texts;
    }

    static QStringList row(const batch::TextGrid& grid, int r) {
        QStringList texts;
        for (int c = 0; c < grid.columnCount(); ++c)
            texts << grid.cell(c, r);
        return texts;
    }

    static QStringList lines(const batch::TextGrid& summary) {
        return {summary.cell(1, 0), summary.cell(1, 1)};
    }

    void clearBoth() {
        showTab(1);
        run("Button116");
        showTab(0);
        run("Button113");
    }

    const std::vector<Row> example{{"1. SiO2", "75"}, {"9. Na2O", "25"}};
    const QStringList batchPortions{QStringLiteral("74,4135"), QStringLiteral("25,5865")};
    const QStringList moleFractions{QStringLiteral("75,5774"), QStringLiteral("24,4226")};
    const QStringList amounts{QStringLiteral("1,2482"), QStringLiteral("0,4034")};
    const QStringList blank{QString(), QString()};
};

TEST_F(TablesWindowTest, AddWritesTheEntryIntoTheTableOfTheShownTab) {
    choose("1. SiO2");
    mainWindow->moleFractionEdit->setText(QStringLiteral(" 75"));
    mainWindow->totalMassEdit->setText(QStringLiteral("100,0"));
    run("SpeedButton4");
    EXPECT_EQ(mainWindow->batchRowCount, 1);
    EXPECT_EQ(row(mainWindow->batchTable, 1), (QStringList{"SiO2", "60,0848", " 75", "100,0", ""}));
    EXPECT_EQ(entry(), (QStringList{"", "", "", "100,0", "0"})); // the total mass stays for the next row
    EXPECT_FALSE(mainWindow->addSubstanceButton->isEnabled());
    EXPECT_FALSE(mainWindow->clearEntryButton->isEnabled());

    showTab(1);
    choose("17. B2O3");
    mainWindow->moleFractionEdit->setText(QStringLiteral("75"));
    run("SpeedButton4");
    EXPECT_EQ(mainWindow->fractionRowCount, 1);
    EXPECT_EQ(mainWindow->batchRowCount, 1);
    EXPECT_EQ(row(mainWindow->fractionTable, 1), (QStringList{"B2O3", "69,6182", "", "", ""}));
    EXPECT_EQ(column(mainWindow->batchTable, 0), (QStringList{"SiO2", ""}));
    EXPECT_FALSE(mainWindow->addSubstanceButton->isEnabled());
}

TEST_F(TablesWindowTest, TwentiethAddChangesNothing) {
    for (const int tab : {0, 1}) {
        SCOPED_TRACE(tab);
        const int& counter = tab == 0 ? mainWindow->batchRowCount : mainWindow->fractionRowCount;
        const batch::TextGrid& table = tab == 0 ? mainWindow->batchTable : mainWindow->fractionTable;
        const std::vector<Row> rows(19, Row{"6. MgO", "5"});
        tab == 0 ? fillBatch(rows) : fillFractions(rows);
        ASSERT_EQ(counter, 19);
        choose("12. NiO");
        const QStringList before = cells(table);
        run("SpeedButton4");
        EXPECT_EQ(counter, 19);
        EXPECT_EQ(cells(table), before);
        EXPECT_EQ(mainWindow->formulaEdit->text(), QStringLiteral("NiO"));
        EXPECT_TRUE(mainWindow->addSubstanceButton->isEnabled());
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

// Each command computes the table it is meant for, and only that one.
TEST_F(TablesWindowTest, CalculateCommandsComputeTheirOwnTable) {
    const std::pair<const char*, int> commands[] = {{"Button112", 0}, {"Button115", 1},   {"N12", 0},
                                                    {"N12", 1},       {"ToolButton3", 0}, {"ToolButton3", 1}};
    for (const auto& [command, tab] : commands) {
        SCOPED_TRACE(std::string(command) + " tab " + std::to_string(tab));
        clearBoth();
        fillBatch(example);
        fillFractions(example);
        showTab(tab);
        run(command);
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_TRUE(dialogs.failures.isEmpty());
        EXPECT_EQ(mainWindow->batchComputed, tab == 0);
        EXPECT_EQ(column(mainWindow->batchTable, 4), tab == 0 ? batchPortions : blank);
        EXPECT_EQ(column(mainWindow->fractionTable, 4), tab == 1 ? moleFractions : blank);
        EXPECT_EQ(column(mainWindow->fractionTable, 3), tab == 1 ? amounts : blank);
    }
    EXPECT_EQ(lines(mainWindow->batchSummary), (QStringList{"75,0 SiO2-25,0 Na2O", "74,41 SiO2-25,59 Na2O"}));
    EXPECT_EQ(lines(mainWindow->fractionSummary), (QStringList{"75,58SiO2-24,42Na2O", "75,0SiO2-25,0Na2O"}));
}

TEST_F(TablesWindowTest, ChecksShowPlainMessagesAndWriteNothing) {
    const struct {
        int tab;
        std::vector<Row> rows;
        QString message;
    } cases[] = {
        {0, {{"1. SiO2", "100"}}, kTooFew},
        {0, {{"1. SiO2", "75", ""}, {"9. Na2O", "25"}}, kMissingInputs},
        {0,
         {{"1. SiO2", "75"}, {"9. Na2O", "20"}},
         QStringLiteral("Сумма массовых долей не равна 100%! Проверьте введенные данные!")},
        {0,
         {{"1. SiO2", "70", "250"}, {"9. Na2O", "15", "250"}, {"10. CaO", "15", "200"}},
         QStringLiteral("Общая навеска должна быть одинакова для всех!")},
        {1, {{"1. SiO2", "100"}}, kTooFew},
        {1, {{"1. SiO2", "75"}, {"9. Na2O", ""}}, kMissingMassPercent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        clearBoth();
        dialogs.messages.clear();
        c.tab == 0 ? fillBatch(c.rows) : fillFractions(c.rows);
        run(c.tab == 0 ? "Button112" : "Button115");
        EXPECT_EQ(dialogs.messages, QStringList{c.message});
        EXPECT_TRUE(dialogs.failures.isEmpty());
        EXPECT_EQ(column(c.tab == 0 ? mainWindow->batchTable : mainWindow->fractionTable, 4, 3),
                  (QStringList{"", "", ""}));
        EXPECT_EQ(lines(c.tab == 0 ? mainWindow->batchSummary : mainWindow->fractionSummary), blank);
        EXPECT_FALSE(mainWindow->batchComputed);
    }
}

// Each clear command keeps the headers, the summaries and the other table; the batch table's
// also forgets that it was computed.
TEST_F(TablesWindowTest, EachClearEmptiesOnlyItsOwnTableAndCounter) {
    for (const int tab : {1, 0}) {
        SCOPED_TRACE(tab);
        clearBoth();
        fillBatch(example);
        fillFractions(example);
        run("Button112");
        const batch::TextGrid& own = tab == 0 ? mainWindow->batchTable : mainWindow->fractionTable;
        const batch::TextGrid& other = tab == 0 ? mainWindow->fractionTable : mainWindow->batchTable;
        const QStringList otherCells = cells(other);
        const QStringList summaries = cells(mainWindow->batchSummary) + cells(mainWindow->fractionSummary);
        const QStringList headers = row(own, 0);
        showTab(tab);
        run(tab == 0 ? "Button113" : "Button116");
        EXPECT_EQ(row(own, 0), headers);
        for (int r = 1; r < 20; ++r)
            EXPECT_EQ(row(own, r).join(QString()), QString()) << r;
        EXPECT_EQ(cells(other), otherCells);
        EXPECT_EQ(cells(mainWindow->batchSummary) + cells(mainWindow->fractionSummary), summaries);
        EXPECT_EQ(mainWindow->batchRowCount, tab == 0 ? 0 : 2);
        EXPECT_EQ(mainWindow->fractionRowCount, tab == 1 ? 0 : 2);
        EXPECT_EQ(mainWindow->batchComputed, tab == 1);
    }
}

TEST_F(TablesWindowTest, CalculateAllRunsTheFractionsThenTheBatch) {
    // Both fail their checks: the messages come in the order of the two calculations.
    fillBatch({{"1. SiO2", "100"}});
    fillFractions({{"1. SiO2", ""}, {"9. Na2O", ""}});
    run("N11");
    EXPECT_EQ(dialogs.messages, (QStringList{kMissingMassPercent, kTooFew}));

    // A failure in the fraction calculation ends the command before the batch is calculated.
    dialogs.messages.clear();
    clearBoth();
    fillBatch(example);
    fillFractions(example);
    typeCell(mainWindow->fractionGrid, 1, 2, QStringLiteral("q"));
    run("N11");
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("'q' is not a valid floating point value")});
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(column(mainWindow->fractionTable, 3), blank); // row 1 computes, but the failure writes nothing
    EXPECT_EQ(column(mainWindow->fractionTable, 4), blank);
    EXPECT_FALSE(mainWindow->batchComputed);
    EXPECT_EQ(column(mainWindow->batchTable, 4), blank);
}

} // namespace
