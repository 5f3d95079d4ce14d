// The substance catalogue of the main window driven as a user would: list picks, "Выбрать" and the
// keys of the formula entry around it.
#include "MainWindowFixture.h"

namespace {

const QString kNoChoice = QStringLiteral("Не выбрано");

class CatalogueWindowTest : public MainWindowTest {
protected:
    QComboBox* list(int number) { return form1->ComboBoxes[static_cast<size_t>(number - 1)]; }

    // Picks the item with the given text as the user would; the list must hold it.
    void pickText(int number, const char* itemText) {
        const int item = list(number)->findText(QString::fromUtf8(itemText));
        ASSERT_GE(item, 1) << itemText;
        pick(number, item);
    }

    void choose(int number, const char* itemText) {
        pickText(number, itemText);
        click("Button114");
    }

    QStringList selections() {
        QStringList texts;
        for (QComboBox* combo : form1->ComboBoxes)
            texts << combo->currentText();
        return texts;
    }

    static QStringList allUnchosen() { return QStringList(6, kNoChoice); }
};

TEST_F(CatalogueWindowTest, ChoiceStartsTheExpressionAfreshAndFillsTheEntry) {
    const struct {
        bool elementFirst; // the key "Si" pressed before the choice
        int list;
        const char* item;
        const char* formula;
        const char* molarMass;
        const char* expression;
    } cases[] = {
        {false, 1, "1. SiO2", "SiO2", "60,0848", "0+60,0848"},
        {false, 1, "4. Al2O3", "Al2O3", "101,9612", "0101,9612"},
        {true, 1, "1. SiO2", "SiO2", "60,0848", "0+60,0848"},
        {true, 1, "4. Al2O3", "Al2O3", "101,9612", "0101,9612"},
        {true, 3, "3. Ag2S", "Ag2S", "247,8", "0247,8"},
        {true, 6, "12. CuCl2", "CuCl2", "134,452", "0134,452"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        click("btnClear");
        if (c.elementFirst)
            element(QStringLiteral("Si"));
        choose(c.list, c.item);
        EXPECT_EQ(form1->Edit4->text(), QString::fromUtf8(c.formula));
        EXPECT_EQ(form1->Edit1->text(), QString::fromUtf8(c.molarMass));
        EXPECT_EQ(form1->MassExpression, QString::fromUtf8(c.expression));
        EXPECT_TRUE(form1->btnClear->isEnabled());
        EXPECT_FALSE(form1->btnCalc->isEnabled());
        EXPECT_TRUE(form1->SpeedButton4->isEnabled());
        EXPECT_EQ(selections(), allUnchosen());
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(CatalogueWindowTest, ChoiceLeavesMoleFractionAndTotalMassAlone) {
    form1->Edit5->setText(QStringLiteral("75"));
    form1->Edit6->setText(QStringLiteral("100"));
    choose(2, "9. BiF3");
    EXPECT_EQ(form1->Edit5->text(), QStringLiteral("75"));
    EXPECT_EQ(form1->Edit6->text(), QStringLiteral("100"));
}

TEST_F(CatalogueWindowTest, KeysExtendAChosenSubstanceAndVychislitAddsThemUp) {
    const struct {
        const char* item;
        const char* key;
        const char* formula;
        const char* expression;
        const char* molarMass;
    } cases[] = {
        {"4. Al2O3", "O", "Al2O3O", "0101,9612+15,9994", "117,9606"},
        {"1. SiO2", "H", "SiO2H", "0+60,0848+1,00797", "61,09277"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        choose(1, c.item);
        refresh();
        EXPECT_FALSE(control("btn1")->isEnabled()) << "digit keys follow the disabled Вычислить";
        element(QString::fromUtf8(c.key));
        EXPECT_EQ(form1->Edit4->text(), QString::fromUtf8(c.formula));
        EXPECT_EQ(form1->MassExpression, QString::fromUtf8(c.expression));
        EXPECT_TRUE(form1->btnCalc->isEnabled());
        click("btnCalc");
        EXPECT_EQ(form1->Edit1->text(), QString::fromUtf8(c.molarMass));
        click("btnClear");
    }
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(CatalogueWindowTest, APickInOneListResetsTheOtherFive) {
    pickText(1, "7. Fe2O3");
    EXPECT_EQ(list(1)->currentText(), QStringLiteral("7. Fe2O3"));
    pickText(2, "3. KF");
    QStringList expected = allUnchosen();
    expected[1] = QStringLiteral("3. KF");
    EXPECT_EQ(selections(), expected);
    click("Button114");
    EXPECT_EQ(form1->Edit4->text(), QStringLiteral("KF"));
    EXPECT_EQ(form1->Edit1->text(), QStringLiteral("58,1004"));

    // Each list in turn resets a pick standing in every other one.
    for (int picked = 1; picked <= 6; ++picked) {
        for (int other = 1; other <= 6; ++other)
            list(other)->setCurrentIndex(1); // set by the program: triggers nothing
        EXPECT_EQ(selections().count(kNoChoice), 0);
        pick(picked, 2);
        for (int other = 1; other <= 6; ++other)
            EXPECT_EQ(list(other)->currentIndex(), other == picked ? 2 : 0) << picked << " " << other;
    }
}

TEST_F(CatalogueWindowTest, VybratWithNothingChosenOnlyShowsTheMessage) {
    for (const bool addUsable : {false, true}) {
        SCOPED_TRACE(addUsable);
        dialogs.messages.clear();
        click("btnClear");
        element(QStringLiteral("Na"));
        if (addUsable)
            click("btnCalc");
        const QString formula = form1->Edit4->text();
        const QString mass = form1->Edit1->text();
        const QString expression = form1->MassExpression;
        click("Button114");
        EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Выберите вещество из списка!")});
        EXPECT_TRUE(dialogs.failures.isEmpty());
        EXPECT_EQ(form1->SpeedButton4->isEnabled(), addUsable);
        EXPECT_TRUE(form1->btnCalc->isEnabled());
        EXPECT_TRUE(form1->btnClear->isEnabled());
        EXPECT_EQ(form1->Edit4->text(), formula);
        EXPECT_EQ(form1->Edit1->text(), mass);
        EXPECT_EQ(form1->MassExpression, expression);
    }
}

TEST_F(CatalogueWindowTest, BothNaFItemsGiveTheSameFields) {
    struct Fields {
        QString formula, mass, expression;
        bool operator==(const Fields&) const = default;
    };
    const auto fieldsAfter = [this](const char* item) {
        click("btnClear");
        choose(2, item);
        return Fields{form1->Edit4->text(), form1->Edit1->text(), form1->MassExpression};
    };
    const Fields second = fieldsAfter("2. NaF");
    const Fields sixth = fieldsAfter("6. NaF");
    EXPECT_EQ(second.formula, QStringLiteral("NaF"));
    EXPECT_EQ(second.mass, QStringLiteral("41,9882"));
    EXPECT_TRUE(second == sixth);
}

TEST_F(CatalogueWindowTest, EveryListIsBackAtNoChoiceAfterVybrat) {
    for (int number = 1; number <= 6; ++number) {
        pick(number, list(number)->count() - 1);
        click("Button114");
        EXPECT_EQ(selections(), allUnchosen()) << number;
        EXPECT_EQ(form1->Edit4->text(), list(number)->itemText(list(number)->count() - 1).section(' ', 1));
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(CatalogueWindowTest, ChoiceEndsHydrateMode) {
    element(QStringLiteral("Ca"));
    form1->Timer1Timer();
    click("Button119"); // "X"
    ASSERT_TRUE(form1->HydrateMode);
    choose(1, "10. CaO");
    EXPECT_FALSE(form1->HydrateMode);
    element(QStringLiteral("H"));
    form1->Timer1Timer();
    click("btn2");
    EXPECT_EQ(form1->MassExpression, QStringLiteral("056,0794+1,00797*2"));
}

TEST_F(CatalogueWindowTest, OchistitResetsOnlyOxidesAndFluorides) {
    element(QStringLiteral("Zn"));
    pickText(3, "2. ZnS");
    list(1)->setCurrentIndex(5); // set by the program: the sulfide pick stays
    EXPECT_EQ(list(3)->currentText(), QStringLiteral("2. ZnS"));
    click("btnClear");
    QStringList expected = allUnchosen();
    expected[2] = QStringLiteral("2. ZnS");
    EXPECT_EQ(selections(), expected);
    click("Button114");
    EXPECT_EQ(form1->Edit4->text(), QStringLiteral("ZnS"));
    EXPECT_EQ(form1->Edit1->text(), QStringLiteral("97,434"));
}

} // namespace
