#include "app/GlassWindow.h"
#include "MainWindowFixture.h"

#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class GlassWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        glass = std::make_unique<GlassWindow>(*mainWindow, dialogs);
        mainWindow->openGlassWindow = [this] { glass->present(); };
    }
    void TearDown() override {
        glass.reset();
        MainWindowTest::TearDown();
    }

    // The container glass of the user guide, typed into the composition grid.
    void typeContainerGlass() {
        const char* rows[][3] = {{"SiO2", "72", "SiO2"},   {"Al2O3", "2", "Al(OH)3"},
                                 {"CaO", "8", "CaCO3"},    {"MgO", "3", "CaMg(CO3)2"},
                                 {"Na2O", "14", "Na2CO3"}, {"K2O", "1", "K2CO3"}};
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 3; ++c)
                typeCell(glass->compositionGrid, c, r + 1, QString::fromUtf8(rows[r][c]));
    }

    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QStringList column(const batch::TextGrid& grid, int c, int rows = 6) const {
        QStringList texts;
        for (int r = 1; r <= rows; ++r)
            texts << grid.cell(c, r);
        return texts;
    }

    std::unique_ptr<GlassWindow> glass;
};

TEST_F(GlassWindowTest, OpensFromTheLastItemOfTheCalculationMenu) {
    QMenu* menu = mainWindow->findChild<QMenu*>(QStringLiteral("N2"));
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> items = menu->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_TRUE(items[items.size() - 2]->isSeparator());
    EXPECT_EQ(items.back()->objectName(), QStringLiteral("N41"));
    EXPECT_EQ(items.back()->text(), QStringLiteral("Шихта по составу стекла"));
    run("N41");
    EXPECT_TRUE(glass->isVisible());
    EXPECT_EQ(glass->objectName(), QStringLiteral("FormGlass"));
    for (const char* name : {"GlassGrid", "GlassMolePercent", "GlassMass", "GlassCullet", "GlassCalculate",
                             "GlassResult", "GlassToBatch"})
        EXPECT_NE(glass->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(GlassWindowTest, CalculatesTheContainerGlass) {
    typeContainerGlass();
    click(glass->calculateBatchButton);
    ASSERT_TRUE(dialogs.failures.isEmpty()) << dialogs.failures.join(u'\n').toStdString();
    EXPECT_EQ(column(glass->resultTable, 1),
              QStringList({QStringLiteral("72,0000"), QStringLiteral("3,0601"), QStringLiteral("6,8281"),
                           QStringLiteral("13,7257"), QStringLiteral("23,9408"), QStringLiteral("1,4672")}));
    EXPECT_EQ(column(glass->resultTable, 4),
              QStringList({QStringLiteral("72,0000"), QStringLiteral("2,0000"), QStringLiteral("8,0000"),
                           QStringLiteral("3,0000"), QStringLiteral("14,0000"), QStringLiteral("1,0000")}));
    EXPECT_EQ(glass->summaryTable.cell(1, 0), QStringLiteral("121,0219"));
    EXPECT_EQ(glass->summaryTable.cell(1, 4), QStringLiteral("82,6296"));

    // A failure is shown and leaves the last result in place.
    typeCell(glass->compositionGrid, 1, 1, QStringLiteral("71"));
    click(glass->calculateBatchButton);
    EXPECT_EQ(dialogs.failures,
              QStringList{QStringLiteral("Сумма содержаний оксидов равна 99, а должна быть 100% (±0,01)!")});
    EXPECT_EQ(glass->resultTable.cell(1, 1), QStringLiteral("72,0000"));
}

TEST_F(GlassWindowTest, TransferFillsTheBatchTableAndRunsItsCalculation) {
    typeContainerGlass();
    glass->glassMassEdit->setText(QStringLiteral("1000"));
    glass->culletEdit->setText(QStringLiteral("20"));
    click(glass->transferToBatchTableButton);
    ASSERT_TRUE(dialogs.failures.isEmpty() && dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.questions.isEmpty()); // an empty table is filled without asking
    EXPECT_EQ(mainWindow->batchRowCount, 6);
    EXPECT_TRUE(mainWindow->batchComputed);
    EXPECT_EQ(column(mainWindow->batchTable, 0), column(glass->resultTable, 0));
    for (int r = 1; r <= 6; ++r)
        EXPECT_NEAR(static_cast<double>(batch::textToNumber(mainWindow->batchTable.cell(4, r))),
                    static_cast<double>(batch::textToNumber(glass->resultTable.cell(1, r))), 0.0001)
            << r;
    EXPECT_EQ(mainWindow->batchTable.cell(1, 4), QStringLiteral("184,4014")); // as "Вычислить" writes it

    // A filled table is replaced only after a Yes.
    const QStringList before = cells(mainWindow->batchTable);
    glass->glassMassEdit->setText(QStringLiteral("100"));
    glass->culletEdit->setText(QStringLiteral("0"));
    click(glass->transferToBatchTableButton);
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Заменить содержимое таблицы навесок?")});
    EXPECT_EQ(cells(mainWindow->batchTable), before);
    dialogs.answers.push_back(Dialogs::Answer::Yes);
    click(glass->transferToBatchTableButton);
    EXPECT_EQ(mainWindow->batchTable.cell(4, 4), QStringLiteral("13,7257"));
    EXPECT_EQ(mainWindow->batchRowCount, 6);
}

TEST_F(GlassWindowTest, CompositionFilesRoundTripAndADamagedOneChangesNothing) {
    typeContainerGlass();
    typeCell(glass->compositionGrid, 4, 1, QStringLiteral("5"));
    glass->molePercentCheckBox->setChecked(true);
    glass->culletEdit->setText(QStringLiteral("20"));
    const batch::GlassCompositionSheet typed = glass->sheet();
    dialogs.fileNames.push_back(path("состав"));
    click(glass->saveCompositionButton);
    ASSERT_TRUE(QFile::exists(path("состав.csv")));

    click(glass->clearAllButton);
    EXPECT_TRUE(glass->sheet().rows.empty());
    dialogs.fileNames.push_back(path("состав.csv"));
    click(glass->loadCompositionButton);
    const batch::GlassCompositionSheet loaded = glass->sheet();
    EXPECT_EQ(loaded.rows, typed.rows);
    EXPECT_TRUE(loaded.molePercent);
    EXPECT_EQ(loaded.cullet, QStringLiteral("20"));

    writeBytes(path("damaged.csv"),
               bytesOf(path("состав.csv")).replace("Na2O;14;Na2CO3;;;", "Na2O;14;Na2CO3"));
    glass->glassMassEdit->setText(QStringLiteral("250"));
    dialogs.fileNames.push_back(path("damaged.csv"));
    click(glass->loadCompositionButton);
    EXPECT_EQ(dialogs.failures,
              QStringList{QStringLiteral(
                  "Файл состава повреждён: строка 9 — в строке состава должно быть 6 полей, а не 3!")});
    EXPECT_EQ(glass->sheet().rows, typed.rows);
    EXPECT_EQ(glass->glassMassEdit->text(), QStringLiteral("250"));
}

TEST_F(GlassWindowTest, FileCutInItsLastRowLoadsAndSaysSoAndAPipeIsRefused) {
    typeContainerGlass();
    typeCell(glass->compositionGrid, 5, 6, QStringLiteral("12,5"));
    dialogs.fileNames.push_back(path("cut.csv"));
    click(glass->saveCompositionButton);
    writeBytes(path("cut.csv"), bytesOf(path("cut.csv")).chopped(5)); // "12,5\r\n" cut to "1"
    click(glass->clearAllButton);
    dialogs.fileNames.push_back(path("cut.csv"));
    click(glass->loadCompositionButton);
    EXPECT_EQ(dialogs.messages,
              QStringList{QStringLiteral("Файл состава «cut.csv» не заканчивается концом "
                                         "строки: строка 10 могла быть обрезана. Проверьте её.")});
    EXPECT_EQ(glass->compositionTable.cell(5, 6), QStringLiteral("1"));
    EXPECT_EQ(glass->compositionTable.cell(0, 6), QStringLiteral("K2O"));

    // A reader of the test's own, opened without waiting, keeps a save that writes into the pipe
    // from hanging the test.
    const QString fifo = path("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const batch::GlassCompositionSheet before = glass->sheet();
    dialogs.fileNames = {fifo, fifo};
    click(glass->saveCompositionButton);
    click(glass->loadCompositionButton);
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0) << "something was written into the pipe";
    ::close(reader);
    EXPECT_EQ(dialogs.failures,
              (QStringList{QStringLiteral("File access denied"), QStringLiteral("File access denied")}));
    EXPECT_EQ(glass->sheet().rows, before.rows);
}

// Numbers that no batch can have are refused before anything is shown or transferred.
TEST_F(GlassWindowTest, ImpossibleInputsChangeNothing) {
    typeContainerGlass();
    click(glass->calculateBatchButton);
    const QStringList result = cells(glass->resultTable) + cells(glass->summaryTable);
    const QStringList batchTable = cells(mainWindow->batchTable);
    glass->glassMassEdit->setText(QStringLiteral("1E4000"));
    typeCell(glass->compositionGrid, 3, 5, QStringLiteral("1E-1000"));
    click(glass->calculateBatchButton);
    click(glass->transferToBatchTableButton);
    glass->glassMassEdit->setText(QStringLiteral("100"));
    click(glass->calculateBatchButton);
    glass->glassMassEdit->setText(QStringLiteral("сто"));
    click(glass->calculateBatchButton);
    const QString mass = QStringLiteral("Масса стекла должна быть от 0,000001 до 1000000000 г!");
    EXPECT_EQ(dialogs.failures,
              (QStringList{mass, mass,
                           QStringLiteral("Чистота сырья Na2CO3 должна быть больше 0,01% и не больше 100%!"),
                           QStringLiteral("Поле «Масса стекла, г»: не удалось прочитать число «сто»!")}));
    EXPECT_EQ(cells(glass->resultTable) + cells(glass->summaryTable), result);
    EXPECT_EQ(cells(mainWindow->batchTable), batchTable);
}

} // namespace
