// The substance catalogue of the main window driven as a user would: list picks, "Выбрать" and the
// keys of the formula entry around it.
#include "MainWindowFixture.h"

namespace {

const QString kNoChoice = QStringLiteral("Не выбрано");

class CatalogueWindowTest : public MainWindowTest {
protected:
    QStringList selections() {
        QStringList texts;
        for (QComboBox* combo : mainWindow->catalogueLists)
            texts << combo->currentText();
        return texts;
    }
};

// A choice replaces whatever the keys had entered, hydrate mode included, and leaves the fields
// of the tables alone; both NaF items give the same fields.
TEST_F(CatalogueWindowTest, ChoiceStartsTheExpressionAfreshAndFillsTheEntry) {
    const struct {
        bool keysFirst; // "Si" and "X" pressed before the choice
        int list;
        const char* item;
        const char* formula;
        const char* molarMass;
        const char* expression;
    } cases[] = {
        {false, 1, "1. SiO2", "SiO2", "60,0848", "0+60,0848"},
        {true, 1, "1. SiO2", "SiO2", "60,0848", "0+60,0848"},
        {true, 1, "4. Al2O3", "Al2O3", "101,9612", "0101,9612"},
        {false, 2, "4. LiF", "LiF", "25,9374", "025,9374"},
        {false, 2, "2. NaF", "NaF", "41,9882", "041,9882"},
        {true, 2, "6. NaF", "NaF", "41,9882", "041,9882"},
        {true, 6, "12. CuCl2", "CuCl2", "134,452", "0134,452"},
    };
    mainWindow->moleFractionEdit->setText(QStringLiteral("75"));
    mainWindow->totalMassEdit->setText(QStringLiteral("100"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        if (c.keysFirst) {
            element(QStringLiteral("Si"));
            mainWindow->refreshControls();
            run("Button119");
            ASSERT_TRUE(mainWindow->hydrateMode);
        }
        choose(c.item, c.list);
        EXPECT_EQ(entry(), (QStringList{c.formula, c.molarMass, "75", "100", c.expression}));
        EXPECT_FALSE(mainWindow->hydrateMode);
        EXPECT_TRUE(mainWindow->clearEntryButton->isEnabled());
        EXPECT_FALSE(mainWindow->calculateMolarMassButton->isEnabled());
        EXPECT_TRUE(mainWindow->addSubstanceButton->isEnabled());
        EXPECT_EQ(selections(), QStringList(6, kNoChoice));
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(CatalogueWindowTest, KeysExtendAChosenSubstanceAndVychislitAddsThemUp) {
    choose("4. Al2O3");
    refresh();
    EXPECT_FALSE(control("btn1")->isEnabled()) << "digit keys follow the disabled Вычислить";
    element(QStringLiteral("O"));
    EXPECT_EQ(mainWindow->formulaEdit->text(), QStringLiteral("Al2O3O"));
    EXPECT_EQ(mainWindow->massExpression, QStringLiteral("0101,9612+15,9994"));
    run("btnCalc");
    EXPECT_EQ(mainWindow->molarMassEdit->text(), QStringLiteral("117,9606"));
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(CatalogueWindowTest, APickInOneListResetsTheOtherFive) {
    pickText(1, "7. Fe2O3");
    pickText(2, "3. KF");
    QStringList expected(6, kNoChoice);
    expected[1] = QStringLiteral("3. KF");
    EXPECT_EQ(selections(), expected);

    for (int picked = 1; picked <= 6; ++picked) {
        for (int other = 1; other <= 6; ++other)
            list(other)->setCurrentIndex(1); // set by the program: triggers nothing
        EXPECT_FALSE(selections().contains(kNoChoice));
        pick(picked, 2);
        for (int other = 1; other <= 6; ++other)
            EXPECT_EQ(list(other)->currentIndex(), other == picked ? 2 : 0) << picked << " " << other;
    }
}

TEST_F(CatalogueWindowTest, VybratWithNothingChosenOnlyShowsTheMessage) {
    for (const bool addUsable : {false, true}) {
        SCOPED_TRACE(addUsable);
        dialogs.messages.clear();
        run("btnClear");
        element(QStringLiteral("Na"));
        if (addUsable)
            run("btnCalc");
        const QStringList fields = entry();
        run("Button114");
        EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Выберите вещество из списка!")});
        EXPECT_EQ(mainWindow->addSubstanceButton->isEnabled(), addUsable);
        EXPECT_TRUE(mainWindow->calculateMolarMassButton->isEnabled());
        EXPECT_EQ(entry(), fields);
    }
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(CatalogueWindowTest, OchistitResetsOnlyOxidesAndFluorides) {
    element(QStringLiteral("Zn"));
    pickText(3, "2. ZnS");
    list(1)->setCurrentIndex(5); // set by the program: the sulfide pick stays
    list(2)->setCurrentIndex(5);
    run("btnClear");
    QStringList expected(6, kNoChoice);
    expected[2] = QStringLiteral("2. ZnS");
    EXPECT_EQ(selections(), expected);
    run("Button114");
    EXPECT_EQ(mainWindow->formulaEdit->text(), QStringLiteral("ZnS"));
    EXPECT_EQ(mainWindow->molarMassEdit->text(), QStringLiteral("97,434"));
}

} // namespace
