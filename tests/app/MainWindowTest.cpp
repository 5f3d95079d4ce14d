#include "MainWindowFixture.h"

#include "app/StringGrid.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>

TEST_F(MainWindowTest, StartsWithOnlyTheElementKeysFieldsListsAndTablesUsable) {
    refresh();
    EXPECT_EQ(mainWindow->windowTitle(), QStringLiteral("Вельтрона Вер. 1.0"));
    for (const char* name : {"btnCalc", "btnClear", "SpeedButton4", "btn1", "btn9", "SpeedButton3",
                             "Button119", "SpeedButton5", "Button120"})
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    for (const char* name : {"Button1", "Button111", "Edit4", "Edit1", "Edit5", "Edit6", "ComboBox1",
                             "Button114", "Button112", "Button113", "Button115", "ToolButton1"})
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    EXPECT_EQ(mainWindow->massExpression, QStringLiteral("0"));
    EXPECT_FALSE(mainWindow->hydrateMode);
    EXPECT_FALSE(mainWindow->batchComputed);
    for (QComboBox* combo : mainWindow->catalogueLists)
        EXPECT_EQ(combo->currentText(), QStringLiteral("Не выбрано"));
}

// The digit and symbol keys follow "Вычислить" through the refresh.
TEST_F(MainWindowTest, DigitAndSymbolKeysFollowVychislitWithinOneRefresh) {
    const char* const keys[] = {"btn1",         "btn9",      "SpeedButton3", "Button119",
                                "SpeedButton5", "Button120", "GroupBox6"};
    element(QStringLiteral("Na"));
    EXPECT_TRUE(mainWindow->calculateMolarMassButton->isEnabled());
    EXPECT_TRUE(mainWindow->clearEntryButton->isEnabled());
    refresh();
    for (const char* name : keys)
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    run("btnClear");
    refresh();
    for (const char* name : keys)
        EXPECT_FALSE(control(name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, KeySequencesThroughVychislitFillFormulaAndMolarMass) {
    const struct {
        QStringList keys; // element symbols, or the object names of digit and symbol keys
        const char* formula;
        const char* molarMass;
    } cases[] = {
        {{"Ca", "Cl", "btn2", "Button119", "btn6", "SpeedButton5"}, "CaCl2x6H2O", "219,07804"},
        {{"Si", "O", "btn2", "Button120", "Na", "btn2", "O"}, "SiO2+Na2O", "122,0638"},
    };
    for (const auto& c : cases) {
        run("btnClear");
        for (const QString& key : c.keys) {
            mainWindow->refreshControls(); // the refresh enables the digit and symbol keys
            key.size() <= 2 ? element(key) : run(qPrintable(key));
        }
        run("btnCalc");
        EXPECT_EQ(mainWindow->formulaEdit->text(), QString::fromUtf8(c.formula));
        EXPECT_EQ(mainWindow->molarMassEdit->text(), QString::fromUtf8(c.molarMass)) << c.formula;
        EXPECT_TRUE(mainWindow->addSubstanceButton->isEnabled());
    }
    EXPECT_TRUE(dialogs.failures.isEmpty());

    // "X" straight followed by water leaves an empty term: the failure display, the molar mass as it was.
    run("btnClear");
    element(QStringLiteral("H"));
    run("btnCalc");
    mainWindow->refreshControls();
    run("Button119");
    run("SpeedButton5");
    run("btnCalc");
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("'' is not a valid floating point value")});
    EXPECT_EQ(mainWindow->molarMassEdit->text(), QStringLiteral("1,00797"));
}

TEST_F(MainWindowTest, TabSwitchHidesAndShowsTheMoleFractionAndTotalMassGroups) {
    for (const int tab : {0, 1, 0}) {
        mainWindow->tableTabs->setCurrentIndex(tab);
        refresh();
        EXPECT_EQ(mainWindow->moleFractionBox->isVisible(), tab == 0) << tab;
        EXPECT_EQ(mainWindow->totalMassBox->isVisible(), tab == 0) << tab;
    }
}

// Each check box sets its own option, and only on the two substance tables.
TEST_F(MainWindowTest, SettingsCheckBoxesReachOnlyTheTwoSubstanceTables) {
    QCheckBox* const boxes[] = {
        settingsWindow->cellEditingCheckBox,     settingsWindow->rowSelectionCheckBox,
        settingsWindow->horizontalLinesCheckBox, settingsWindow->columnSizingCheckBox,
        settingsWindow->rowSizingCheckBox,       settingsWindow->verticalLinesCheckBox};
    const auto options = [](const StringGrid* g) { // in the order of the boxes
        return std::vector<bool>{g->editing(),   g->rowSelect(), g->horzLine(),
                                 g->colSizing(), g->rowSizing(), g->vertLine()};
    };
    const std::vector<bool> initial{true, false, true, false, false, true};
    for (size_t i = 0; i < std::size(boxes); ++i) {
        SCOPED_TRACE(i + 1);
        boxes[i]->toggle();
        mainWindow->refreshControls();
        std::vector<bool> expected = initial;
        expected[i] = !expected[i];
        for (StringGrid* grid : {mainWindow->batchGrid, mainWindow->fractionGrid})
            EXPECT_EQ(options(grid), expected);
        for (StringGrid* grid : {mainWindow->batchSummaryGrid, mainWindow->fractionSummaryGrid})
            EXPECT_EQ(options(grid), initial);
        boxes[i]->toggle();
    }
}

TEST_F(MainWindowTest, CatalogueGroupIsCentredAndMayGoNegative) {
    for (const int width : {1137, 900}) {
        mainWindow->resize(width, 807);
        QTest::qWait(20);
        const int difference = mainWindow->cataloguePanel->width() - mainWindow->catalogueBox->width();
        EXPECT_EQ(mainWindow->catalogueBox->x(), difference / 2) << width;
        EXPECT_EQ(difference < 0, width == 900) << width; // the narrow window cuts the group off
    }
}

TEST_F(MainWindowTest, ExitAsksAndOnlyYesGoesOnToTheCloseQuestion) {
    const QString exitQuestion = QStringLiteral("Выйти из программы?");
    const QString closeQuestion = QStringLiteral("Сохранить файл перед выходом?");
    dialogs.answers = {Dialogs::Answer::No};
    run("N20");
    EXPECT_EQ(dialogs.questions, QStringList{exitQuestion});
    EXPECT_TRUE(mainWindow->isVisible());

    // The title bar's close button goes straight to the close question; Cancel keeps the window.
    dialogs.questions.clear();
    dialogs.answers = {Dialogs::Answer::Cancel};
    mainWindow->close();
    EXPECT_EQ(dialogs.questions, QStringList{closeQuestion});
    EXPECT_TRUE(mainWindow->isVisible());

    dialogs.questions.clear();
    dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
    run("N20");
    EXPECT_EQ(dialogs.questions, (QStringList{exitQuestion, closeQuestion}));
    EXPECT_FALSE(mainWindow->isVisible());
}

TEST_F(MainWindowTest, AboutSettingsAndAnalysisWindowsAreShownOnceAndBroughtForward) {
    run("N7");
    run("N7");
    EXPECT_TRUE(aboutWindow->isVisible());
    EXPECT_EQ(qApp->topLevelWidgets().count(aboutWindow.get()), 1);
    // The 800 x 600 picture is drawn unscaled from its top-left corner: only that part shows.
    EXPECT_EQ(aboutWindow->picture->pixmap().size(), QSize(800, 600));
    EXPECT_FALSE(aboutWindow->picture->hasScaledContents());
    EXPECT_EQ(aboutWindow->picture->pos(), QPoint(0, 0));
    QTest::mouseClick(aboutWindow->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    EXPECT_FALSE(aboutWindow->isVisible());
    run("N7");
    EXPECT_TRUE(aboutWindow->isVisible());

    // Closing the settings window only hides it and keeps the choices.
    run("ToolButton7");
    EXPECT_TRUE(settingsWindow->isVisible());
    settingsWindow->rowSelectionCheckBox->setChecked(true);
    EXPECT_TRUE(settingsWindow->close());
    EXPECT_FALSE(settingsWindow->isVisible());
    run("ToolButton7");
    EXPECT_TRUE(settingsWindow->isVisible());
    EXPECT_TRUE(settingsWindow->rowSelectionCheckBox->isChecked());
    run("N9");
    EXPECT_TRUE(analysisWindow->isVisible());
}

TEST_F(MainWindowTest, StatusBarShowsTheHintOfTheNearestControlThatHasOne) {
    const std::pair<QWidget*, const char*> cases[] = {
        {mainWindow->elementKeys[0], "Периодическая система химических элементов"},
        {mainWindow->formulaEdit, "Формула вещества"},
        {control("ToolButton2"), "Сохранить   Файл"},
        {settingsWindow->cellEditingCheckBox, "Разрешить редактирование содержимого ячеек в таблице"},
    };
    QEvent enter(QEvent::Enter);
    for (const auto& [widget, hint] : cases) {
        QApplication::sendEvent(widget, &enter);
        EXPECT_EQ(mainWindow->hintBar->currentMessage(), QString::fromUtf8(hint));
    }
    EXPECT_EQ(control("ToolButton2")->toolTip(), QStringLiteral("Сохранить   Файл"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(mainWindow.get(), &leave);
    EXPECT_TRUE(mainWindow->hintBar->currentMessage().isEmpty());
}
