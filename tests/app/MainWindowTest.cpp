#include "MainWindowFixture.h"

#include "app/StringGrid.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

QAction* action(QWidget* window, const char* name) {
    return window->findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace

TEST_F(MainWindowTest, StartsWithOnlyTheElementKeysFieldsListsAndTablesUsable) {
    refresh();
    EXPECT_EQ(form1->windowTitle(), QStringLiteral("Вельтрона Вер. 1.0"));
    EXPECT_EQ(form1->size(), QSize(1137, 807));
    for (const char* name : {"btnCalc", "btnClear", "SpeedButton4", "btn1", "btn5", "btn9", "SpeedButton3",
                             "Button119", "SpeedButton5", "Button120"})
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    for (const char* name : {"Button1", "Button111", "Edit4", "Edit1", "Edit5", "Edit6", "ComboBox1",
                             "Button114", "Button112", "Button113", "Button115", "ToolButton1"})
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    EXPECT_EQ(form1->MassExpression, QStringLiteral("0"));
    EXPECT_FALSE(form1->HydrateMode);
    EXPECT_FALSE(form1->BatchComputed);
    EXPECT_EQ(form1->BatchTable.cell(0, 0), QStringLiteral("  Вещество"));
    EXPECT_EQ(form1->FractionTable.cell(2, 0), QStringLiteral("   Масс, %"));
    EXPECT_EQ(form1->BatchSummary.cell(0, 1), QStringLiteral("Навески, г"));
    EXPECT_EQ(form1->StringGrid3->columnWidthPixels(1), 250);
    EXPECT_EQ(form1->StringGrid4->columnWidthPixels(1), 250);
    for (QComboBox* combo : form1->ComboBoxes)
        EXPECT_EQ(combo->currentText(), QStringLiteral("Не выбрано"));
}

TEST_F(MainWindowTest, DigitAndSymbolKeysFollowVychislitWithinOneRefresh) {
    element(QStringLiteral("Na"));
    EXPECT_TRUE(form1->btnCalc->isEnabled());
    EXPECT_TRUE(form1->btnClear->isEnabled());
    refresh();
    for (const char* name :
         {"btn1", "btn9", "SpeedButton3", "Button119", "SpeedButton5", "Button120", "GroupBox6"})
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    click("btnClear");
    refresh();
    for (const char* name : {"btn1", "btn9", "SpeedButton3", "Button119", "SpeedButton5", "Button120"})
        EXPECT_FALSE(control(name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, KeySequencesGiveFormulaAndMolarMass) {
    const struct {
        QStringList keys; // element symbols, or "#d" for a digit key, "X", "water", "+"
        const char* formula;
        const char* molarMass;
    } cases[] = {
        {{"H", "#2", "O"}, "H2O", "18,01534"},
        {{"Ca", "Cl", "#2", "X", "#6", "water"}, "CaCl2x6H2O", "219,07804"},
        {{"C", "#1", "#2"}, "C12", "144,12"},
        {{"Na", "#2", "B", "#4", "O", "#7", "X", "#1", "#0", "water"}, "Na2B4O7x10H2O", "381,3688"},
        {{"Ca", "S", "O", "#4", "water"}, "CaSO4H2O", "154,15694"},
        {{"Si", "O", "#2", "+", "Na", "#2", "O"}, "SiO2+Na2O", "122,0638"},
    };
    for (const auto& c : cases) {
        click("btnClear");
        for (const QString& key : c.keys) {
            form1->Timer1Timer(); // the refresh enables the digit and symbol keys
            if (key.startsWith(QLatin1Char('#')))
                click(key == QStringLiteral("#0") ? "SpeedButton3"
                                                  : qPrintable(QStringLiteral("btn") + key.mid(1)));
            else if (key == QStringLiteral("X"))
                click("Button119");
            else if (key == QStringLiteral("water"))
                click("SpeedButton5");
            else if (key == QStringLiteral("+"))
                click("Button120");
            else
                element(key);
        }
        click("btnCalc");
        EXPECT_EQ(form1->Edit4->text(), QString::fromUtf8(c.formula));
        EXPECT_EQ(form1->Edit1->text(), QString::fromUtf8(c.molarMass)) << c.formula;
        EXPECT_TRUE(form1->SpeedButton4->isEnabled());
    }
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(MainWindowTest, AFailingExpressionShowsTheFailureAndLeavesTheMolarMass) {
    element(QStringLiteral("H"));
    click("btnCalc");
    ASSERT_EQ(form1->Edit1->text(), QStringLiteral("1,00797"));
    refresh();
    click("Button119");
    click("SpeedButton5"); // "X" straight followed by water leaves an empty term
    click("btnCalc");
    ASSERT_EQ(dialogs.failures, QStringList{QStringLiteral("'' is not a valid floating point value")});
    EXPECT_EQ(form1->Edit1->text(), QStringLiteral("1,00797"));
    EXPECT_EQ(failureText(dialogs.failures.first()),
              QStringLiteral("'' is not a valid floating point value."));
}

TEST_F(MainWindowTest, TabSwitchHidesAndShowsTheMoleFractionAndTotalMassGroups) {
    refresh();
    EXPECT_TRUE(form1->GroupBox10->isVisible());
    EXPECT_TRUE(form1->GroupBox12->isVisible());
    form1->PageControl1->setCurrentIndex(1);
    refresh();
    EXPECT_FALSE(form1->GroupBox10->isVisible());
    EXPECT_FALSE(form1->GroupBox12->isVisible());
    form1->PageControl1->setCurrentIndex(0);
    refresh();
    EXPECT_TRUE(form1->GroupBox10->isVisible());
    EXPECT_TRUE(form1->GroupBox12->isVisible());
}

TEST_F(MainWindowTest, ToolbarTicksShowAndHideTheirButtons) {
    refresh();
    QToolButton* broom = control<QToolButton>("ToolButton4");
    EXPECT_TRUE(broom->isVisible());
    QAction* tick = action(form1.get(), "N35");
    ASSERT_TRUE(tick && tick->isChecked());
    tick->trigger();
    EXPECT_FALSE(tick->isChecked());
    refresh();
    EXPECT_FALSE(broom->isVisible());
    EXPECT_TRUE(control("ToolButton3")->isVisible());
    tick->trigger();
    refresh();
    EXPECT_TRUE(broom->isVisible());
}

TEST_F(MainWindowTest, SettingsCheckBoxesReachOnlyTheTwoSubstanceTables) {
    refresh();
    EXPECT_TRUE(form1->StringGrid1->editing());
    form2->CheckBox1->setChecked(false);
    form2->CheckBox2->setChecked(true);
    form2->CheckBox3->setChecked(false);
    form2->CheckBox4->setChecked(true);
    refresh();
    for (StringGrid* grid : {form1->StringGrid1, form1->StringGrid2}) {
        EXPECT_FALSE(grid->editing());
        EXPECT_TRUE(grid->rowSelect());
        EXPECT_FALSE(grid->horzLine());
        EXPECT_TRUE(grid->colSizing());
        EXPECT_FALSE(grid->rowSizing());
        EXPECT_TRUE(grid->vertLine());
    }
    for (StringGrid* grid : {form1->StringGrid3, form1->StringGrid4}) {
        EXPECT_TRUE(grid->editing());
        EXPECT_FALSE(grid->rowSelect());
        EXPECT_TRUE(grid->horzLine());
        EXPECT_FALSE(grid->colSizing());
    }
}

TEST_F(MainWindowTest, CatalogueGroupIsCentredAndMayGoNegative) {
    form1->resize(1137, 807);
    QTest::qWait(20);
    const int expected = (form1->Panel3->width() - form1->GroupBox11->width()) / 2;
    EXPECT_EQ(form1->GroupBox11->x(), expected);
    EXPECT_GE(expected, 0);
    form1->resize(900, 807);
    QTest::qWait(20);
    const int narrow = form1->Panel3->width() - form1->GroupBox11->width();
    ASSERT_LT(narrow, 0);
    EXPECT_EQ(form1->GroupBox11->x(), narrow / 2);
}

TEST_F(MainWindowTest, ExitAsksAndOnlyYesGoesOnToTheCloseQuestion) {
    QAction* exit = action(form1.get(), "N20");
    ASSERT_TRUE(exit);
    dialogs.answers = {Dialogs::Answer::No};
    exit->trigger();
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Выйти из программы?")});
    EXPECT_TRUE(form1->isVisible());

    dialogs.questions.clear();
    dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::Cancel};
    exit->trigger();
    EXPECT_EQ(dialogs.questions, (QStringList{QStringLiteral("Выйти из программы?"),
                                              QStringLiteral("Сохранить файл перед выходом?")}));
    EXPECT_TRUE(form1->isVisible()); // Cancel keeps the window open

    dialogs.questions.clear();
    dialogs.answers = {Dialogs::Answer::No};
    form1->close(); // the title bar's close button
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Сохранить файл перед выходом?")});
    EXPECT_FALSE(form1->isVisible());
}

TEST_F(MainWindowTest, AboutSettingsAndAnalysisWindowsAreShownOnceAndBroughtForward) {
    action(form1.get(), "N7")->trigger();
    action(form1.get(), "N7")->trigger();
    EXPECT_TRUE(form3->isVisible());
    EXPECT_EQ(qApp->topLevelWidgets().count(form3.get()), 1);
    QTest::mouseClick(form3->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    EXPECT_FALSE(form3->isVisible());
    action(form1.get(), "N7")->trigger();
    EXPECT_TRUE(form3->isVisible());

    QTest::mouseClick(control<QToolButton>("ToolButton7"), Qt::LeftButton);
    EXPECT_TRUE(form2->isVisible());
    action(form1.get(), "N9")->trigger();
    EXPECT_TRUE(form5->isVisible());
    EXPECT_EQ(form5->windowTitle(), QStringLiteral("Анализ навесок"));
}

TEST_F(MainWindowTest, HelpLooksBesideTheCurrentDirectoryFirstThenBesideTheProgram) {
    const QString startDirectory = QDir::currentPath();
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    const QString besideProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/help/help.chm");
    const QString besideCurrent = elsewhere.filePath(QStringLiteral("help/help.chm"));
    const auto create = [](const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };

    // With no help file anywhere the request still goes out, and the program goes on.
    form1->openUrl = [this](const QUrl& url) {
        openedUrls << url;
        return false;
    };
    QTest::mouseClick(control<QToolButton>("ToolButton8"), Qt::LeftButton);
    ASSERT_TRUE(create(besideProgram));
    action(form1.get(), "N6")->trigger();
    ASSERT_TRUE(create(besideCurrent));
    action(form1.get(), "N6")->trigger();
    QFile::remove(besideProgram);
    QDir::setCurrent(startDirectory);

    ASSERT_EQ(openedUrls.size(), 3);
    EXPECT_EQ(openedUrls[0].toLocalFile(), besideCurrent);
    EXPECT_EQ(openedUrls[1].toLocalFile(), besideProgram);
    EXPECT_EQ(openedUrls[2].toLocalFile(), besideCurrent);
    EXPECT_TRUE(dialogs.failures.isEmpty());
    EXPECT_TRUE(form1->isVisible());
}

TEST_F(MainWindowTest, StatusBarShowsTheHintOfTheNearestControlThatHasOne) {
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(form1->ElementKeys[0], &enter);
    EXPECT_EQ(form1->StatusBar1->currentMessage(),
              QStringLiteral("Периодическая система химических элементов"));
    QApplication::sendEvent(form1->Edit4, &enter);
    EXPECT_EQ(form1->StatusBar1->currentMessage(), QStringLiteral("Формула вещества"));
    QApplication::sendEvent(control("ToolButton2"), &enter);
    EXPECT_EQ(form1->StatusBar1->currentMessage(), QStringLiteral("Сохранить   Файл"));
    EXPECT_EQ(control("ToolButton2")->toolTip(), QStringLiteral("Сохранить   Файл"));
    QApplication::sendEvent(form2->CheckBox1, &enter);
    EXPECT_EQ(form1->StatusBar1->currentMessage(),
              QStringLiteral("Разрешить редактирование содержимого ячеек в таблице"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(form1.get(), &leave);
    EXPECT_TRUE(form1->StatusBar1->currentMessage().isEmpty());
}
