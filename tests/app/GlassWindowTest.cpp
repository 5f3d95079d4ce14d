#include "app/GlassWindow.h"
#include "MainWindowFixture.h"

#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QGuiApplication>
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

    // The same glass with sand and dolomite of the starter library, given by their analyses.
    void typePlantGlass() {
        typeContainerGlass();
        typeCell(glass->compositionGrid, 2, 1, QStringLiteral("Песок (пример)"));
        typeCell(glass->compositionGrid, 2, 4, QStringLiteral("Доломит (пример)"));
    }

    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // What a cell of the composition shows, and in which colour.
    QString shown(int column, int row) const {
        return glass->compositionGrid->textModel()->indexForCell(column, row).data().toString();
    }
    bool greyed(int column, int row) const {
        const QVariant colour =
            glass->compositionGrid->textModel()->indexForCell(column, row).data(Qt::ForegroundRole);
        return colour.isValid() &&
               colour.value<QColor>() == QGuiApplication::palette().color(QPalette::PlaceholderText);
    }

    static batch::Extended number(const QString& text) { return batch::textToNumber(text); }

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
    EXPECT_EQ(column(glass->glassOxidesTable, 1),
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
               bytesOf(path("состав.csv")).replace("Na2O;14;Na2CO3;;;;", "Na2O;14;Na2CO3"));
    glass->glassMassEdit->setText(QStringLiteral("250"));
    dialogs.fileNames.push_back(path("damaged.csv"));
    click(glass->loadCompositionButton);
    EXPECT_EQ(dialogs.failures,
              QStringList{QStringLiteral(
                  "Файл состава повреждён: строка 9 — в строке состава должно быть 7 полей, а не 3!")});
    EXPECT_EQ(glass->sheet().rows, typed.rows);
    EXPECT_EQ(glass->glassMassEdit->text(), QStringLiteral("250"));
}

TEST_F(GlassWindowTest, FileCutInItsLastRowLoadsAndSaysSoAndAPipeIsRefused) {
    typeContainerGlass();
    typeCell(glass->compositionGrid, 6, 6, QStringLiteral("12,5"));
    dialogs.fileNames.push_back(path("cut.csv"));
    click(glass->saveCompositionButton);
    writeBytes(path("cut.csv"), bytesOf(path("cut.csv")).chopped(5)); // "12,5\r\n" cut to "1"
    click(glass->clearAllButton);
    dialogs.fileNames.push_back(path("cut.csv"));
    click(glass->loadCompositionButton);
    EXPECT_EQ(dialogs.messages,
              QStringList{QStringLiteral("Файл состава «cut.csv» не заканчивается концом "
                                         "строки: строка 10 могла быть обрезана. Проверьте её.")});
    EXPECT_EQ(glass->compositionTable.cell(6, 6), QStringLiteral("1"));
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

// The container glass of the guide with sand and dolomite of the starter library: the example
// figures, Fe2O3 on top of the composition, CO2 per tonne, and the library's moisture greyed in an
// empty cell until a typed one overrides it.
TEST_F(GlassWindowTest, ComputesWithLibraryMaterialsAndShowsWhatTheyBringOnTop) {
    installStarterLibrary();
    glass->present();
    ASSERT_TRUE(dialogs.failures.isEmpty()) << dialogs.failures.join(u'\n').toStdString();

    // The drop-down offers the library's names as well as the formulas, and keeps the name or the
    // formula only.
    TextGridModel* model = glass->compositionGrid->textModel();
    QAbstractItemDelegate* delegate = glass->compositionGrid->itemDelegateForColumn(2);
    const QModelIndex spare = model->indexForCell(2, 8);
    std::unique_ptr<QWidget> editor(
        delegate->createEditor(glass->compositionGrid->viewport(), QStyleOptionViewItem(), spare));
    auto* box = qobject_cast<QComboBox*>(editor.get());
    ASSERT_NE(box, nullptr);
    EXPECT_GE(box->findText(QStringLiteral("Доломит (пример)")), 0);
    for (const char* item : {"Доломит (пример)", "Na2CO3 — Сода кальцинированная", "SiO2"}) {
        box->setEditText(QString::fromUtf8(item));
        delegate->setModelData(box, model, spare);
        EXPECT_EQ(glass->compositionTable.cell(2, 8),
                  QString::fromUtf8(item).section(QStringLiteral(" — "), 0, 0));
    }
    typeCell(glass->compositionGrid, 2, 8, QString());

    typePlantGlass();
    EXPECT_EQ(shown(4, 1), QStringLiteral("5"));
    EXPECT_TRUE(greyed(4, 1));
    EXPECT_TRUE(glass->compositionTable.cell(4, 1).isEmpty()) << "the hint is no text of the cell";
    EXPECT_EQ(shown(4, 2), QString()) << "Al(OH)3 is a formula, not a library material";
    EXPECT_EQ(shown(3, 1), QString()) << "an analysed material has no purity";

    click(glass->calculateBatchButton);
    ASSERT_TRUE(dialogs.failures.isEmpty()) << dialogs.failures.join(u'\n').toStdString();
    EXPECT_EQ(column(glass->resultTable, 1),
              QStringList({"76,0972", "2,7966", "6,6481", "13,8249", "23,9408", "1,4672"}));
    EXPECT_EQ(glass->resultTable.cell(2, 1), QStringLiteral("72,2923")) << "the sand dry";
    EXPECT_EQ(column(glass->glassOxidesTable, 0, 8),
              QStringList({"SiO2", "Al2O3", "CaO", "MgO", "Na2O", "K2O", "Fe2O3", ""}));
    EXPECT_EQ(glass->glassOxidesTable.cell(1, 1), QStringLiteral("71,9640"));
    EXPECT_EQ(glass->glassOxidesTable.cell(3, 1), QStringLiteral("72,0000"));
    EXPECT_EQ(glass->glassOxidesTable.cell(1, 7), QStringLiteral("0,0499"));
    EXPECT_EQ(glass->glassOxidesTable.cell(3, 7), QString()) << "Fe2O3 is not asked for";
    EXPECT_EQ(glass->summaryTable.cell(1, 0), QStringLiteral("124,7748"));
    EXPECT_EQ(glass->summaryTable.cell(1, 2), QStringLiteral("100,0500"));
    EXPECT_EQ(glass->summaryTable.cell(1, 5), QStringLiteral("Fe2O3 0,0499 %"));
    EXPECT_EQ(glass->summaryTable.cell(1, 6), QStringLiteral("198,05"));
    EXPECT_EQ(glass->summaryTable.cell(1, 7),
              QStringLiteral("нет цены: Песок (пример), Al(OH)3, CaCO3, Доломит (пример), Na2CO3, K2CO3"));
    EXPECT_EQ(glass->summaryTable.cell(1, 8), QStringLiteral("—"));

    // A typed moisture overrides the library's for this batch only.
    typeCell(glass->compositionGrid, 4, 1, QStringLiteral("3"));
    EXPECT_FALSE(greyed(4, 1));
    click(glass->calculateBatchButton);
    EXPECT_EQ(glass->resultTable.cell(2, 1), QStringLiteral("72,2923"));
    EXPECT_NEAR(double(number(glass->resultTable.cell(1, 1))),
                double(number(QStringLiteral("72,2923")) / 0.97), 1e-4);
    typeCell(glass->compositionGrid, 4, 1, QString());
    EXPECT_EQ(shown(4, 1), QStringLiteral("5"));

    // Without extra oxides the summary says so.
    typeContainerGlass();
    click(glass->calculateBatchButton);
    EXPECT_EQ(glass->summaryTable.cell(1, 5), QStringLiteral("—"));
    EXPECT_EQ(glass->glassOxidesTable.cell(0, 7), QString());
}

// A damaged library is reported once; the window goes on with formulas only and takes the library
// up again once the file has been mended, prices and purity included.
TEST_F(GlassWindowTest, DamagedLibraryIsReportedOnceAndTheMendedFileIsTakenUp) {
    const QByteArray header = "Название;Формула;Чистота, %;Влажность, %;Цена, руб/т;ППП, %;CO2, %;SiO2\n";
    writeBytes(libraryPath(), header + "Песок;;;5;;0,5;0;98\n");
    glass->present();
    const QStringList damaged{QStringLiteral("Справочник сырья, строка 2 («Песок»): оксиды и ППП в сумме "
                                             "дают 98,5 %, а должны давать 100 ± 0,5!")};
    EXPECT_EQ(dialogs.failures, damaged);
    typeContainerGlass();
    click(glass->calculateBatchButton);
    glass->present();
    EXPECT_EQ(dialogs.failures, damaged) << "the message is shown once";
    EXPECT_EQ(glass->resultTable.cell(1, 1), QStringLiteral("72,0000"));

    writeBytes(libraryPath(), header + "Песок;;;5;1500;0,5;0;99,5\nСода;Na2CO3;99;;20000;;;\n");
    glass->clearAll();
    const char* rows[][3] = {{"SiO2", "75", "Песок"}, {"Na2O", "25", "Сода"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            typeCell(glass->compositionGrid, c, r + 1, QString::fromUtf8(rows[r][c]));
    glass->glassMassEdit->setText(QStringLiteral("1000000")); // a tonne
    click(glass->calculateBatchButton);
    ASSERT_EQ(dialogs.failures, damaged);
    EXPECT_EQ(shown(3, 2), QStringLiteral("99")) << "the soda's purity from the library";
    EXPECT_NEAR(double(number(glass->resultTable.cell(1, 1))), 750000 / 0.995 / 0.95, 0.001);
    const batch::Extended cost = number(glass->resultTable.cell(1, 1)) * 1500 / 1e6L +
                                 number(glass->resultTable.cell(1, 2)) * 20000 / 1e6L;
    EXPECT_NEAR(double(number(glass->summaryTable.cell(1, 7))), double(cost), 0.01);
    EXPECT_EQ(glass->summaryTable.cell(1, 8), glass->summaryTable.cell(1, 7)) << "the batch makes one tonne";
}

// An analysed material has no formula: it goes in by its name at 100 g/mol, and the batch table's
// own calculation gives the window's grams.
TEST_F(GlassWindowTest, AnalysedMaterialGoesIntoTheBatchTableByItsName) {
    installStarterLibrary();
    glass->present();
    typePlantGlass();
    click(glass->transferToBatchTableButton);
    ASSERT_TRUE(dialogs.failures.isEmpty() && dialogs.messages.isEmpty())
        << (dialogs.failures + dialogs.messages).join(u'\n').toStdString();
    EXPECT_EQ(column(mainWindow->batchTable, 0), column(glass->resultTable, 0));
    EXPECT_EQ(mainWindow->batchTable.cell(1, 1), QStringLiteral("100"));
    EXPECT_EQ(mainWindow->batchTable.cell(1, 4), QStringLiteral("100"));
    EXPECT_TRUE(mainWindow->batchComputed);
    for (int r = 1; r <= 6; ++r)
        EXPECT_NEAR(double(number(mainWindow->batchTable.cell(4, r))),
                    double(number(glass->resultTable.cell(1, r))), 0.0001)
            << r;
}

} // namespace
