// The library window "Справочник сырья": edits checked and saved, import with a name the library
// holds, a damaged file, and unsaved edits when the window closes.
#include "app/MaterialsWindow.h"
#include "MainWindowFixture.h"
#include "app/GlassWindow.h"
#include "storage/RawMaterialsFile.h"
#include "storage/StorageTestSupport.h"

#include <QLabel>
#include <QListWidget>

namespace {

const QByteArray kHeader = "Название;Формула;Чистота, %;Влажность, %;Цена, руб/т;ППП, %;CO2, %;SiO2;Al2O3\n";

class MaterialsWindowTest : public MainWindowTest {
protected:
    // The two windows wired as the program wires them.
    void SetUp() override {
        MainWindowTest::SetUp();
        glass = std::make_unique<GlassWindow>(*mainWindow, dialogs);
        materials = std::make_unique<MaterialsWindow>(dialogs);
        glass->openMaterialsWindow = [this] { materials->present(); };
        QObject::connect(materials.get(), &MaterialsWindow::librarySaved, glass.get(),
                         &GlassWindow::reloadLibrary);
    }
    void TearDown() override {
        materials.reset();
        glass.reset();
        MainWindowTest::TearDown();
    }

    void press(const char* name) {
        auto* button = materials->findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Types into a field as the user does, replacing what it holds.
    static void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), {});
    }

    void typePercent(const char* oxide, const char* percent) {
        for (int r = 0; r < materials->analysisTable.rowCount(); ++r)
            if (materials->analysisTable.cell(0, r) == QLatin1String(oxide))
                return typeCell(materials->analysisGrid, 1, r, QString::fromUtf8(percent));
        ADD_FAILURE() << "no row for " << oxide;
    }

    QStringList names() const {
        QStringList list;
        for (int i = 0; i < materials->materialsList->count(); ++i)
            list << materials->materialsList->item(i)->text();
        return list;
    }

    static chemistry::RawMaterialTexts textsOf(const chemistry::RawMaterial* material) {
        return material ? chemistry::rawMaterialTexts(*material, u',') : chemistry::RawMaterialTexts{};
    }

    std::unique_ptr<GlassWindow> glass;
    std::unique_ptr<MaterialsWindow> materials;
};

TEST_F(MaterialsWindowTest, EditedLibraryIsCheckedSavedAndTakenUpByTheCompositionWindow) {
    storage_test::writeBytes(libraryPath(), kHeader + "Сода;Na2CO3;99;;20000;;;;\n");
    glass->present();
    QTest::mouseClick(glass->materialsButton, Qt::LeftButton);
    ASSERT_TRUE(materials->isVisible());
    EXPECT_EQ(names(), QStringList{QStringLiteral("Сода")});
    EXPECT_EQ(materials->nameEdit->text(), QStringLiteral("Сода"));
    EXPECT_EQ(materials->purityEdit->text(), QStringLiteral("99"));

    press("MaterialAdd");
    EXPECT_EQ(names(), QStringList({"Сода", "Новое сырьё"}));
    EXPECT_TRUE(materials->hasUnsavedEdits());
    EXPECT_EQ(materials->checkLabel->text(),
              QStringLiteral("Справочник сырья, строка 3 («Новое сырьё»): нет ни формулы, ни анализа!"));
    type(materials->nameEdit, QStringLiteral("Песок карьера"));
    type(materials->moistureEdit, QStringLiteral("4"));
    type(materials->priceEdit, QStringLiteral("900"));
    type(materials->lossOnIgnitionEdit, QStringLiteral("0.3")); // a point reads as in the file
    typePercent("SiO2", "90");
    EXPECT_EQ(names().last(), QStringLiteral("Песок карьера"));
    EXPECT_EQ(materials->checkLabel->text(),
              QStringLiteral("Справочник сырья, строка 3 («Песок карьера»): оксиды и "
                             "ППП в сумме дают 90,3 %, а должны давать 100 ± 0,5!"));
    typePercent("SiO2", "99,2");
    typePercent("Al2O3", "0,4");
    typePercent("Fe2O3", "0,05");
    EXPECT_EQ(materials->checkLabel->text(),
              QStringLiteral("Сырьё задано анализом: оксиды и ППП в сумме 99,95 %."));

    press("MaterialsSave");
    ASSERT_TRUE(dialogs.failures.isEmpty()) << dialogs.failures.join(u'\n').toStdString();
    EXPECT_FALSE(materials->hasUnsavedEdits());
    const chemistry::RawMaterialLibrary saved = storage::readRawMaterialLibrary(libraryPath());
    ASSERT_EQ(saved.materials.size(), 2u);
    const chemistry::RawMaterialTexts expected{
        "Песок карьера", "",    "", "4",
        "900",           "0,3", "", {{"SiO2", "99,2"}, {"Al2O3", "0,4"}, {"Fe2O3", "0,05"}}};
    EXPECT_EQ(textsOf(&saved.materials[1]), expected);
    EXPECT_EQ(textsOf(glass->library().find(QStringLiteral("Песок карьера"))), expected)
        << "the composition window reads the saved library";

    // What the reader would refuse is not saved; the material at fault is chosen.
    const QByteArray before = storage_test::readBytes(libraryPath());
    press("MaterialCopy");
    EXPECT_EQ(names().last(), QStringLiteral("Песок карьера (копия)"));
    type(materials->carbonDioxideEdit, QStringLiteral("1"));
    materials->chooseMaterial(0);
    press("MaterialsSave");
    EXPECT_EQ(dialogs.failures,
              QStringList{QStringLiteral(
                  "Справочник сырья, строка 4 («Песок карьера (копия)»): CO2 (1 %) больше ППП (0,3 %)!")});
    EXPECT_EQ(materials->chosen(), 2);
    EXPECT_EQ(storage_test::readBytes(libraryPath()), before);

    dialogs.answers.push_back(Dialogs::Answer::Yes);
    press("MaterialDelete");
    EXPECT_EQ(dialogs.questions,
              QStringList{QStringLiteral("Удалить сырьё «Песок карьера (копия)» из справочника?")});
    EXPECT_EQ(names(), QStringList({"Сода", "Песок карьера"}));
    press("MaterialsSave");
    EXPECT_EQ(dialogs.failures.size(), 1);
    EXPECT_EQ(storage_test::readBytes(libraryPath()), before);
}

TEST_F(MaterialsWindowTest, ImportAsksBeforeReplacingAMaterialOfTheSameNameAndExportWritesItAll) {
    storage_test::writeBytes(libraryPath(), kHeader + "Сода;Na2CO3;;;20000;;;;\nПесок;;;5;;0,5;;99,5;\n");
    const QString other = path("поставщик.csv");
    storage_test::writeBytes(other, kHeader + "Песок;;;7;1300;0,5;;99,5;\nМел;CaCO3;;;;;;;\n");
    materials->present();

    dialogs.fileNames = {other, other, other};
    dialogs.answers = {Dialogs::Answer::No};
    press("MaterialsImport");
    const QString question =
        QStringLiteral("Сырьё «%1» уже есть в справочнике. Заменить его сырьём из файла?");
    EXPECT_EQ(dialogs.questions, QStringList{question.arg("Песок")});
    EXPECT_EQ(names(), QStringList({"Сода", "Песок", "Мел"}));
    EXPECT_EQ(materials->materials()[1].moisture, QStringLiteral("5")) << "kept";
    EXPECT_TRUE(materials->hasUnsavedEdits());

    dialogs.questions.clear();
    dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
    press("MaterialsImport");
    EXPECT_EQ(dialogs.questions, QStringList({question.arg("Песок"), question.arg("Мел")}));
    EXPECT_EQ(names(), QStringList({"Сода", "Песок", "Мел"}));
    EXPECT_EQ(materials->materials()[1].moisture, QStringLiteral("7")) << "replaced in its place";
    EXPECT_EQ(materials->materials()[1].price, QStringLiteral("1300"));

    const std::vector<chemistry::RawMaterialTexts> imported = materials->materials();
    dialogs.answers = {Dialogs::Answer::Cancel};
    press("MaterialsImport");
    EXPECT_EQ(materials->materials(), imported) << "Отмена imports nothing";

    dialogs.fileNames = {path("весь справочник")};
    press("MaterialsExport");
    ASSERT_TRUE(dialogs.failures.isEmpty()) << dialogs.failures.join(u'\n').toStdString();
    const chemistry::RawMaterialLibrary exported = storage::readRawMaterialsFile(path("весь справочник.csv"));
    ASSERT_EQ(exported.materials.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(textsOf(&exported.materials[i]), imported[i]);
    EXPECT_TRUE(materials->hasUnsavedEdits()) << "an export is no save of the library";
}

TEST_F(MaterialsWindowTest, DamagedLibraryOpensEmptyAndSavingOverItAsksFirst) {
    const QByteArray damaged = kHeader + "Песок;;;пять;;0,5;;99,5;\n";
    storage_test::writeBytes(libraryPath(), damaged);
    materials->present();
    EXPECT_EQ(dialogs.failures,
              QStringList{QStringLiteral(
                  "Справочник сырья, строка 2 («Песок»): в столбце «Влажность, %» не число: «пять»!")});
    EXPECT_TRUE(materials->materials().empty());
    EXPECT_EQ(materials->materialsList->count(), 0);

    press("MaterialAdd");
    type(materials->formulaEdit, QStringLiteral("Na2CO3"));
    press("MaterialsSave"); // unanswered: No
    const QString question =
        QStringLiteral("Файл справочника сырья «%1» повреждён и не был прочитан. Заменить его "
                       "справочником из этого окна?")
            .arg(libraryPath());
    EXPECT_EQ(dialogs.questions, QStringList{question});
    EXPECT_EQ(storage_test::readBytes(libraryPath()), damaged);
    EXPECT_TRUE(materials->hasUnsavedEdits());

    dialogs.answers = {Dialogs::Answer::Yes};
    press("MaterialsSave");
    EXPECT_EQ(dialogs.failures.size(), 1);
    const chemistry::RawMaterialLibrary saved = storage::readRawMaterialLibrary(libraryPath());
    ASSERT_EQ(saved.materials.size(), 1u);
    EXPECT_EQ(saved.materials[0].formula, QStringLiteral("Na2CO3"));
    press("MaterialsSave");
    EXPECT_EQ(dialogs.questions.size(), 2) << "the file is no longer damaged";
}

// A file another program (a spreadsheet) saved while the window held edits is not overwritten
// unasked; the window's own saves do not count as such a change.
TEST_F(MaterialsWindowTest, SavingOverAnotherProgramsChangesAsksFirst) {
    storage_test::writeBytes(libraryPath(), kHeader + "Сода;Na2CO3;;;;;;;\n");
    materials->present();
    type(materials->moistureEdit, QStringLiteral("2"));
    const QByteArray theirs = kHeader + "Сода;Na2CO3;;;;;;;\nПоташ;K2CO3;;;;;;;\n";
    storage_test::writeBytes(libraryPath(), theirs);

    press("MaterialsSave"); // unanswered: No
    EXPECT_EQ(dialogs.questions,
              QStringList{QStringLiteral("Файл справочника сырья «%1» изменён другой программой после того, как "
                                         "это окно его прочитало. Заменить его справочником из этого окна?")
                              .arg(libraryPath())});
    EXPECT_EQ(storage_test::readBytes(libraryPath()), theirs);
    EXPECT_TRUE(materials->hasUnsavedEdits());

    dialogs.answers = {Dialogs::Answer::Yes};
    press("MaterialsSave");
    EXPECT_FALSE(materials->hasUnsavedEdits());
    EXPECT_EQ(storage::readRawMaterialLibrary(libraryPath()).materials.size(), 1u);
    type(materials->moistureEdit, QStringLiteral("3"));
    press("MaterialsSave");
    EXPECT_EQ(dialogs.questions.size(), 2) << "the window's own save is no outside change";
    EXPECT_EQ(textsOf(storage::readRawMaterialLibrary(libraryPath()).find(QStringLiteral("Сода"))).moisture,
              QStringLiteral("3"));
}

// Closing with unsaved edits asks; a save that fails (a locked Data/ folder) keeps the window and
// its edits, and the old file stays whole.
TEST_F(MaterialsWindowTest, UnsavedEditsAreAskedAboutOnCloseAndNothingIsLost) {
    storage_test::writeBytes(libraryPath(), kHeader + "Сода;Na2CO3;;;;;;;\n");
    const QByteArray before = storage_test::readBytes(libraryPath());
    materials->present();
    type(materials->moistureEdit, QStringLiteral("2"));
    const QString question = QStringLiteral("Сохранить изменения справочника сырья?");

    dialogs.answers = {Dialogs::Answer::Cancel};
    EXPECT_FALSE(materials->close());
    EXPECT_TRUE(materials->isVisible());
    EXPECT_EQ(materials->moistureEdit->text(), QStringLiteral("2"));

    {
        storage_test::Immutable lockedFolder(folder.filePath(QStringLiteral("Data"))),
            lockedFile(libraryPath());
        ASSERT_TRUE(lockedFolder.active() && lockedFile.active())
            << "the file system takes no immutable attribute";
        dialogs.answers = {Dialogs::Answer::Yes};
        EXPECT_FALSE(materials->close());
    }
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("File access denied")});
    EXPECT_TRUE(materials->isVisible());
    EXPECT_TRUE(materials->hasUnsavedEdits());
    EXPECT_EQ(storage_test::readBytes(libraryPath()), before);

    dialogs.answers = {Dialogs::Answer::No};
    EXPECT_TRUE(materials->close());
    materials->present();
    EXPECT_EQ(materials->moistureEdit->text(), QString()) << "the dropped edit is gone, the file shown";

    type(materials->moistureEdit, QStringLiteral("2"));
    dialogs.answers = {Dialogs::Answer::Yes};
    EXPECT_TRUE(materials->close());
    EXPECT_EQ(dialogs.questions, QStringList(4, question));
    EXPECT_EQ(textsOf(storage::readRawMaterialLibrary(libraryPath()).find(QStringLiteral("Сода"))).moisture,
              QStringLiteral("2"));
}

} // namespace
