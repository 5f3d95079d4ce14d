// The batch weight table and the fraction table of the main window, filled and calculated through
// the formula entry, the catalogue, the table buttons and the "Расчёт" commands.
#include "MainWindowFixture.h"

#include "app/StringGrid.h"

#include <QAction>
#include <QTabWidget>
#include <QToolButton>
#include <vector>

namespace {

const QString kTooFew =
    QStringLiteral("Недостаточно веществ для расчета! Для расчёта требуется не менее 2-х!");
const QString kMissingInputs = QStringLiteral("Некорректно введены значения массовой доли и общей навески!");
const QString kSumNot100 = QStringLiteral("Сумма массовых долей не равна 100%! Проверьте введенные данные!");
const QString kTotalDiffers = QStringLiteral("Общая навеска должна быть одинакова для всех!");
const QString kMissingMassPercent = QStringLiteral("Введите массовую долю (Масс,%) !");

QString u(const char* text) {
    return QString::fromUtf8(text);
}

struct BatchRow {
    const char* oxide; // item text in the oxide list
    const char* moleFraction;
    const char* totalMass;
};

struct FractionRow {
    const char* oxide;
    const char* massPercent;
};

class TablesWindowTest : public MainWindowTest {
protected:
    void choose(const char* oxide) {
        const int item = form1->ComboBoxes[0]->findText(u(oxide));
        ASSERT_GE(item, 1) << oxide;
        pick(1, item);
        click("Button114");
    }

    void showTab(int index) {
        form1->PageControl1->setCurrentIndex(index);
        form1->Timer1Timer(); // the refresh shows the fields of the tab
    }

    void addBatchRow(const BatchRow& row) {
        choose(row.oxide);
        form1->Edit5->setText(u(row.moleFraction));
        form1->Edit6->setText(u(row.totalMass));
        click("SpeedButton4");
    }

    void fillBatch(const std::vector<BatchRow>& rows) {
        showTab(0);
        for (const BatchRow& row : rows)
            addBatchRow(row);
    }

    // Types into a cell of a substance table as the user does in the grid.
    static void typeCell(StringGrid* grid, int column, int row, const QString& text) {
        TextGridModel* model = grid->textModel();
        ASSERT_TRUE(model->setData(model->indexForCell(column, row), text, Qt::EditRole));
    }

    void fillFractions(const std::vector<FractionRow>& rows) {
        showTab(1);
        for (const FractionRow& row : rows) {
            choose(row.oxide);
            click("SpeedButton4");
            if (*row.massPercent)
                typeCell(form1->StringGrid2, 2, form1->FractionRowCount, u(row.massPercent));
        }
    }

    static QStringList column(const batch::TextGrid& grid, int col, int rows) {
        QStringList texts;
        for (int r = 1; r <= rows; ++r)
            texts << grid.cell(col, r);
        return texts;
    }

    static QStringList cells(const batch::TextGrid& grid) {
        QStringList texts;
        for (int c = 0; c < grid.columnCount(); ++c)
            for (int r = 0; r < grid.rowCount(); ++r)
                texts << grid.cell(c, r);
        return texts;
    }

    static QStringList lines(const batch::TextGrid& summary) {
        return {summary.cell(1, 0), summary.cell(1, 1)};
    }

    static bool substanceRowsEmpty(const batch::TextGrid& grid) {
        for (int c = 0; c < grid.columnCount(); ++c)
            for (int r = 1; r < grid.rowCount(); ++r)
                if (!grid.cell(c, r).isEmpty())
                    return false;
        return true;
    }

    QAction* action(const char* name) {
        QAction* found = form1->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void clickToolButton(const char* name) { QTest::mouseClick(control<QToolButton>(name), Qt::LeftButton); }

    // Empties both tables with their own buttons, leaving the batch tab active.
    void clearBoth() {
        showTab(1);
        click("Button116");
        showTab(0);
        click("Button113");
    }

    const std::vector<BatchRow> batchExample{{"1. SiO2", "75", "100"}, {"9. Na2O", "25", "100"}};
    const std::vector<FractionRow> fractionExample{{"1. SiO2", "75"}, {"9. Na2O", "25"}};
};

TEST_F(TablesWindowTest, AddOnTheBatchTabWritesTheFieldsVerbatimAndKeepsTheTotalMass) {
    choose("1. SiO2");
    form1->Edit5->setText(QStringLiteral(" 75"));
    form1->Edit6->setText(QStringLiteral("100,0"));
    click("SpeedButton4");
    EXPECT_EQ(form1->BatchRowCount, 1);
    EXPECT_EQ(
        (QStringList{form1->BatchTable.cell(0, 1), form1->BatchTable.cell(1, 1), form1->BatchTable.cell(2, 1),
                     form1->BatchTable.cell(3, 1), form1->BatchTable.cell(4, 1)}),
        (QStringList{QStringLiteral("SiO2"), QStringLiteral("60,0848"), QStringLiteral(" 75"),
                     QStringLiteral("100,0"), QString()}));
    EXPECT_TRUE(form1->Edit4->text().isEmpty());
    EXPECT_TRUE(form1->Edit1->text().isEmpty());
    EXPECT_TRUE(form1->Edit5->text().isEmpty());
    EXPECT_EQ(form1->Edit6->text(), QStringLiteral("100,0"));
    EXPECT_EQ(form1->MassExpression, QStringLiteral("0"));
    EXPECT_FALSE(form1->SpeedButton4->isEnabled());
    EXPECT_FALSE(form1->btnClear->isEnabled());
    EXPECT_FALSE(form1->btnCalc->isEnabled());

    // Keys and "Вычислить" fill the entry as well; the texts are not checked when added.
    element(QStringLiteral("Na"));
    form1->Timer1Timer();
    click("btn2");
    element(QStringLiteral("O"));
    click("btnCalc");
    form1->Edit5->setText(QStringLiteral("abc"));
    click("SpeedButton4");
    EXPECT_EQ(form1->BatchRowCount, 2);
    EXPECT_EQ(column(form1->BatchTable, 0, 2), (QStringList{QStringLiteral("SiO2"), QStringLiteral("Na2O")}));
    EXPECT_EQ(column(form1->BatchTable, 1, 2),
              (QStringList{QStringLiteral("60,0848"), QStringLiteral("61,979")}));
    EXPECT_EQ(column(form1->BatchTable, 2, 2), (QStringList{QStringLiteral(" 75"), QStringLiteral("abc")}));
    EXPECT_EQ(column(form1->BatchTable, 3, 2),
              (QStringList{QStringLiteral("100,0"), QStringLiteral("100,0")}));
    EXPECT_EQ(form1->FractionRowCount, 0);
    EXPECT_TRUE(substanceRowsEmpty(form1->FractionTable));

    // A formula cell emptied by the user is the first free row again.
    addBatchRow({"10. CaO", "5", "100"});
    typeCell(form1->StringGrid1, 0, 2, QString());
    addBatchRow({"18. K2O", "1", "100"});
    EXPECT_EQ(form1->BatchRowCount, 4);
    EXPECT_EQ(column(form1->BatchTable, 0, 4),
              (QStringList{QStringLiteral("SiO2"), QStringLiteral("K2O"), QStringLiteral("CaO"), QString()}));
    EXPECT_EQ(form1->BatchTable.cell(2, 2), QStringLiteral("1"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(TablesWindowTest, AddOnTheFractionTabTakesOnlyFormulaAndMolarMass) {
    showTab(1);
    choose("17. B2O3");
    form1->Edit5->setText(QStringLiteral("75"));
    form1->Edit6->setText(QStringLiteral("250"));
    click("SpeedButton4");
    EXPECT_EQ(form1->FractionRowCount, 1);
    EXPECT_EQ(form1->BatchRowCount, 0);
    EXPECT_EQ(
        (QStringList{form1->FractionTable.cell(0, 1), form1->FractionTable.cell(1, 1),
                     form1->FractionTable.cell(2, 1), form1->FractionTable.cell(3, 1),
                     form1->FractionTable.cell(4, 1)}),
        (QStringList{QStringLiteral("B2O3"), QStringLiteral("69,6182"), QString(), QString(), QString()}));
    EXPECT_TRUE(substanceRowsEmpty(form1->BatchTable));
    EXPECT_TRUE(form1->Edit4->text().isEmpty());
    EXPECT_TRUE(form1->Edit1->text().isEmpty());
    EXPECT_EQ(form1->Edit6->text(), QStringLiteral("250"));
    EXPECT_FALSE(form1->SpeedButton4->isEnabled());
    EXPECT_FALSE(form1->btnClear->isEnabled());

    choose("10. CaO");
    click("SpeedButton4");
    EXPECT_EQ(form1->FractionRowCount, 2);
    EXPECT_EQ(column(form1->FractionTable, 0, 3),
              (QStringList{QStringLiteral("B2O3"), QStringLiteral("CaO"), QString()}));
}

TEST_F(TablesWindowTest, TwentiethAddChangesNothing) {
    for (const int tab : {0, 1}) {
        SCOPED_TRACE(tab);
        showTab(tab);
        const int& counter = tab == 0 ? form1->BatchRowCount : form1->FractionRowCount;
        const batch::TextGrid& table = tab == 0 ? form1->BatchTable : form1->FractionTable;
        for (int i = 0; i < 19; ++i)
            addBatchRow({"6. MgO", "5", "100"});
        ASSERT_EQ(counter, 19);
        choose("12. NiO");
        form1->Edit5->setText(QStringLiteral("5"));
        const QStringList before = cells(table);
        const QString expression = form1->MassExpression;
        click("SpeedButton4");
        EXPECT_EQ(counter, 19);
        EXPECT_EQ(cells(table), before);
        EXPECT_EQ(form1->Edit4->text(), QStringLiteral("NiO"));
        EXPECT_EQ(form1->Edit1->text(), QStringLiteral("74,7094"));
        EXPECT_EQ(form1->Edit5->text(), QStringLiteral("5"));
        EXPECT_EQ(form1->Edit6->text(), QStringLiteral("100"));
        EXPECT_EQ(form1->MassExpression, expression);
        EXPECT_TRUE(form1->SpeedButton4->isEnabled());
        EXPECT_TRUE(form1->btnClear->isEnabled());
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(TablesWindowTest, RaschotNaveskovComputesPortionsAndSummaryLines) {
    const struct {
        std::vector<BatchRow> rows;
        QStringList portions;
        const char* moleLine;
        const char* weightLine;
    } cases[] = {
        {{{"1. SiO2", "75", "100"}, {"9. Na2O", "25", "100"}},
         {"74,4135", "25,5865"},
         "75,0 SiO2-25,0 Na2O",
         "74,41 SiO2-25,59 Na2O"},
        {{{"1. SiO2", "70", "250"}, {"9. Na2O", "15", "250"}, {"10. CaO", "15", "250"}},
         {"175,9272", "38,8872", "35,1856"},
         "70,0 SiO2-15,0 Na2O-15,0 CaO",
         "175,93 SiO2-38,89 Na2O-35,19 CaO"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.weightLine);
        clearBoth();
        fillBatch(c.rows);
        ASSERT_FALSE(form1->BatchComputed);
        click("Button112");
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_TRUE(dialogs.failures.isEmpty());
        EXPECT_EQ(column(form1->BatchTable, 4, static_cast<int>(c.rows.size())), c.portions);
        EXPECT_EQ(lines(form1->BatchSummary), (QStringList{u(c.moleLine), u(c.weightLine)}));
        EXPECT_TRUE(form1->BatchComputed);
        EXPECT_EQ(lines(form1->FractionSummary), (QStringList{QString(), QString()}));
    }
}

TEST_F(TablesWindowTest, RaschotNaveskovAcceptsSumsThatAreHundredInDecimalAndEqualTotals) {
    const std::vector<std::vector<BatchRow>> cases = {
        {{"1. SiO2", "31,6", "100"},
         {"9. Na2O", "31,4", "100"},
         {"10. CaO", "9,1", "100"},
         {"6. MgO", "14,8", "100"},
         {"18. K2O", "13,1", "100"}},
        {{"1. SiO2", "32,2", "50"}, {"9. Na2O", "31,9", "50"}, {"10. CaO", "35,9", "50"}},
        {{"1. SiO2", "33,3", "100"}, {"9. Na2O", "33,3", "100,0"}, {"10. CaO", "33,4", "100"}},
    };
    for (const auto& rows : cases) {
        SCOPED_TRACE(rows.size());
        clearBoth();
        fillBatch(rows);
        click("Button112");
        EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(' ').toStdString();
        EXPECT_TRUE(form1->BatchComputed);
        EXPECT_FALSE(form1->BatchTable.cell(4, static_cast<int>(rows.size())).isEmpty());
    }
}

TEST_F(TablesWindowTest, RaschotNaveskovChecksShowPlainMessagesAndWriteNothing) {
    fillBatch(batchExample);
    click("Button112");
    const QStringList lastLines = lines(form1->BatchSummary);
    ASSERT_EQ(lastLines.size(), 2);

    const struct {
        std::vector<BatchRow> rows;
        const QString& message;
    } cases[] = {
        {{{"1. SiO2", "100", "100"}}, kTooFew},
        {{{"1. SiO2", "75", "100"}, {"9. Na2O", "", "100"}}, kMissingInputs},
        {{{"1. SiO2", "75", ""}, {"9. Na2O", "25", "100"}}, kMissingInputs},
        {{{"1. SiO2", "75", "100"}, {"9. Na2O", "20", "100"}}, kSumNot100},
        {{{"1. SiO2", "33,3", "100"}, {"9. Na2O", "33,3", "100"}, {"10. CaO", "33,3", "100"}}, kSumNot100},
        {{{"1. SiO2", "50", "100"}, {"9. Na2O", "50,0001", "100"}}, kSumNot100},
        {{{"1. SiO2", "75", "100"}, {"9. Na2O", "25", "100,5"}}, kTotalDiffers},
        {{{"1. SiO2", "70", "250"}, {"9. Na2O", "15", "250"}, {"10. CaO", "15", "200"}}, kTotalDiffers},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString() + " " + std::to_string(c.rows.size()));
        dialogs.messages.clear();
        showTab(0);
        click("Button113");
        fillBatch(c.rows);
        click("Button112");
        EXPECT_EQ(dialogs.messages, QStringList{c.message});
        EXPECT_TRUE(dialogs.failures.isEmpty());
        EXPECT_EQ(column(form1->BatchTable, 4, 3), (QStringList{QString(), QString(), QString()}));
        EXPECT_EQ(lines(form1->BatchSummary), lastLines);
        EXPECT_FALSE(form1->BatchComputed);
    }
}

TEST_F(TablesWindowTest, ConversionFailuresAreShownByTheFailureDisplayAndWriteNothing) {
    fillBatch(batchExample);
    click("Button112");
    const QStringList batchBefore = cells(form1->BatchTable);
    const QStringList batchLines = lines(form1->BatchSummary);
    // Row 1 would compute anew; row 2 fails once its molar mass is read.
    typeCell(form1->StringGrid1, 1, 1, QStringLiteral("60"));
    typeCell(form1->StringGrid1, 1, 2, QStringLiteral("6l,979"));
    click("Button112");
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("'6l,979' is not a valid floating point value")});
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(column(form1->BatchTable, 4, 2),
              (QStringList{QStringLiteral("74,4135"), QStringLiteral("25,5865")}));
    EXPECT_EQ(lines(form1->BatchSummary), batchLines);
    EXPECT_TRUE(form1->BatchComputed);
    QStringList edited = batchBefore; // cells column by column, 20 rows each
    edited[1 * 20 + 1] = QStringLiteral("60");
    edited[1 * 20 + 2] = QStringLiteral("6l,979");
    EXPECT_EQ(cells(form1->BatchTable), edited);

    dialogs.failures.clear();
    fillFractions(fractionExample);
    click("Button115");
    ASSERT_TRUE(dialogs.failures.isEmpty());
    const QStringList fractionLines = lines(form1->FractionSummary);
    typeCell(form1->StringGrid2, 1, 1, QStringLiteral("50"));
    typeCell(form1->StringGrid2, 1, 2, QStringLiteral("61.979"));
    click("Button115");
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("'61.979' is not a valid floating point value")});
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(column(form1->FractionTable, 3, 2),
              (QStringList{QStringLiteral("1,2482"), QStringLiteral("0,4034")}));
    EXPECT_EQ(column(form1->FractionTable, 4, 2),
              (QStringList{QStringLiteral("75,5774"), QStringLiteral("24,4226")}));
    EXPECT_EQ(lines(form1->FractionSummary), fractionLines);
}

TEST_F(TablesWindowTest, RasschitatConvertsMassPercentages) {
    fillFractions(fractionExample);
    click("Button115");
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
    EXPECT_EQ(column(form1->FractionTable, 3, 2),
              (QStringList{QStringLiteral("1,2482"), QStringLiteral("0,4034")}));
    EXPECT_EQ(column(form1->FractionTable, 4, 2),
              (QStringList{QStringLiteral("75,5774"), QStringLiteral("24,4226")}));
    EXPECT_EQ(lines(form1->FractionSummary),
              (QStringList{QStringLiteral("75,58SiO2-24,42Na2O"), QStringLiteral("75,0SiO2-25,0Na2O")}));
    EXPECT_FALSE(form1->BatchComputed);
    EXPECT_EQ(lines(form1->BatchSummary), (QStringList{QString(), QString()}));
}

TEST_F(TablesWindowTest, RasschitatChecksShowPlainMessagesAndWriteNothing) {
    const struct {
        std::vector<FractionRow> rows;
        const QString& message;
    } cases[] = {
        {{{"1. SiO2", "100"}}, kTooFew},
        {{{"1. SiO2", "75"}, {"9. Na2O", ""}}, kMissingMassPercent},
        {{{"1. SiO2", "75"}, {"9. Na2O", "20"}}, kSumNot100},
        {{{"1. SiO2", "31,6"},
          {"9. Na2O", "31,4"},
          {"10. CaO", "9,1"},
          {"6. MgO", "14,8"},
          {"18. K2O", "13,2"}},
         kSumNot100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString() + " " + std::to_string(c.rows.size()));
        dialogs.messages.clear();
        showTab(1);
        click("Button116");
        fillFractions(c.rows);
        click("Button115");
        EXPECT_EQ(dialogs.messages, QStringList{c.message});
        EXPECT_TRUE(dialogs.failures.isEmpty());
        EXPECT_TRUE(column(form1->FractionTable, 3, 5).join(QString()).isEmpty());
        EXPECT_TRUE(column(form1->FractionTable, 4, 5).join(QString()).isEmpty());
        EXPECT_EQ(lines(form1->FractionSummary), (QStringList{QString(), QString()}));
    }
}

TEST_F(TablesWindowTest, EachClearEmptiesOnlyItsOwnTableAndCounter) {
    fillBatch(batchExample);
    click("Button112");
    fillFractions(fractionExample);
    click("Button115");
    const QStringList batchLines = lines(form1->BatchSummary);
    const QStringList fractionLines = lines(form1->FractionSummary);
    const QStringList batchCells = cells(form1->BatchTable);
    ASSERT_TRUE(form1->BatchComputed);

    click("Button116");
    EXPECT_TRUE(substanceRowsEmpty(form1->FractionTable));
    EXPECT_EQ(form1->FractionTable.cell(2, 0), QStringLiteral("   Масс, %"));
    EXPECT_EQ(form1->FractionRowCount, 0);
    EXPECT_EQ(lines(form1->FractionSummary), fractionLines);
    EXPECT_EQ(cells(form1->BatchTable), batchCells);
    EXPECT_EQ(form1->BatchRowCount, 2);
    EXPECT_TRUE(form1->BatchComputed);

    fillFractions(fractionExample);
    const QStringList fractionCells = cells(form1->FractionTable);
    showTab(0);
    click("Button113");
    EXPECT_TRUE(substanceRowsEmpty(form1->BatchTable));
    EXPECT_EQ(form1->BatchTable.cell(4, 0), QStringLiteral(" Навеска, гр."));
    EXPECT_EQ(form1->BatchRowCount, 0);
    EXPECT_FALSE(form1->BatchComputed);
    EXPECT_EQ(lines(form1->BatchSummary), batchLines);
    EXPECT_EQ(cells(form1->FractionTable), fractionCells);
    EXPECT_EQ(form1->FractionRowCount, 2);

    // The counters still match the rows: the next adds land in row 1 of each table.
    addBatchRow({"10. CaO", "50", "10"});
    EXPECT_EQ(form1->BatchTable.cell(0, 1), QStringLiteral("CaO"));
    EXPECT_EQ(form1->BatchRowCount, 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(TablesWindowTest, ActiveTabCommandCalculatesOnlyTheShownTable) {
    for (const bool fromToolbar : {false, true})
        for (const int tab : {0, 1}) {
            SCOPED_TRACE(std::to_string(fromToolbar) + " tab " + std::to_string(tab));
            clearBoth();
            fillBatch(batchExample);
            fillFractions(fractionExample);
            showTab(tab);
            if (fromToolbar)
                clickToolButton("ToolButton3");
            else
                action("N12")->trigger();
            EXPECT_TRUE(dialogs.messages.isEmpty());
            EXPECT_TRUE(dialogs.failures.isEmpty());
            EXPECT_EQ(form1->BatchComputed, tab == 0);
            EXPECT_EQ(form1->BatchTable.cell(4, 1).isEmpty(), tab != 0);
            EXPECT_EQ(form1->FractionTable.cell(4, 1).isEmpty(), tab != 1);
        }
}

TEST_F(TablesWindowTest, CalculateAllRunsTheFractionsThenTheBatch) {
    // Both fail their checks: the messages come in the order of the two calculations.
    fillBatch({{"1. SiO2", "100", "100"}});
    showTab(1);
    choose("1. SiO2");
    click("SpeedButton4");
    choose("9. Na2O");
    click("SpeedButton4");
    action("N11")->trigger();
    EXPECT_EQ(dialogs.messages, (QStringList{kMissingMassPercent, kTooFew}));

    // A failure in the fraction calculation ends the command before the batch is calculated.
    dialogs.messages.clear();
    clearBoth();
    fillBatch(batchExample);
    fillFractions(fractionExample);
    typeCell(form1->StringGrid2, 1, 2, QStringLiteral("q"));
    action("N11")->trigger();
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("'q' is not a valid floating point value")});
    EXPECT_FALSE(form1->BatchComputed);
    EXPECT_TRUE(form1->BatchTable.cell(4, 1).isEmpty());

    dialogs.failures.clear();
    typeCell(form1->StringGrid2, 1, 2, QStringLiteral("61,979"));
    showTab(0);
    action("N11")->trigger();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
    EXPECT_TRUE(form1->BatchComputed);
    EXPECT_EQ(column(form1->BatchTable, 4, 2),
              (QStringList{QStringLiteral("74,4135"), QStringLiteral("25,5865")}));
    EXPECT_EQ(column(form1->FractionTable, 4, 2),
              (QStringList{QStringLiteral("75,5774"), QStringLiteral("24,4226")}));
}

} // namespace
