// The raw-materials library file: what it keeps, what it refuses and in which words, the files
// that stand in its place, and the starter library the build puts beside the program.
#include "storage/RawMaterialsFile.h"
#include "FailureOf.h"
#include "StorageTestSupport.h"
#include "chemistry/GlassRawMaterials.h"
#include "storage/IoError.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace storage;
using namespace storage_test;
using chemistry::OxidePercent;
using chemistry::RawMaterial;
using chemistry::RawMaterialLibrary;

namespace {

const QByteArray kHeader = "Название;Формула;Чистота, %;Влажность, %;Цена, руб/т;ППП, %;CO2, %";

class RawMaterialsFileTest : public ::testing::Test {
protected:
    // The messages show numbers as the program does; a comma as in Russian settings.
    void SetUp() override { batch::setDecimalSeparator(u','); }
    void TearDown() override { batch::setDecimalSeparator(u'.'); }
    QString pathOf(const QString& name) const { return folder.filePath(name); }
    QTemporaryDir folder;
};

RawMaterial soda() {
    RawMaterial material;
    material.name = QStringLiteral("Сода; \"кальцинированная\"");
    material.formula = QStringLiteral("Na2CO3");
    material.purity = 99.4L;
    material.moisture = 0;
    material.price = 21000;
    return material;
}

RawMaterial sand() {
    RawMaterial material;
    material.name = QStringLiteral("Песок кварцевый");
    material.moisture = 5;
    material.price = 1200.5L;
    material.lossOnIgnition = 0.15L;
    material.carbonDioxide = 0;
    // A figure of many digits, an explicit zero and an oxide the columns do not list yet.
    material.analysis = {
        {"SiO2", 99.5L - 1.0L / 3}, {"Al2O3", 0.2L}, {"Fe2O3", 0.05L}, {"CaO", 0}, {"TiO2", 1.0L / 3}};
    return material;
}

RawMaterialLibrary sample() {
    RawMaterialLibrary library;
    library.oxideColumns = {"SiO2", "B2O3", "Al2O3", "Fe2O3", "CaO"};
    library.materials = {soda(), sand()};
    return library;
}

TEST_F(RawMaterialsFileTest, RoundTripThroughTheDiskKeepsEveryFigureAndTheColumns) {
    const QString path = pathOf(QStringLiteral("Справочник.csv"));
    writeRawMaterialsFile(path, sample());
    RawMaterialLibrary expected = sample();
    expected.oxideColumns << QStringLiteral("TiO2");
    EXPECT_EQ(readRawMaterialLibrary(path), expected);
    EXPECT_EQ(readRawMaterialsFile(path), expected);

    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" + kHeader + ";SiO2;B2O3;Al2O3;Fe2O3;CaO;TiO2\r\n"));
    EXPECT_TRUE(bytes.contains(
        QStringLiteral("\"Сода; \"\"кальцинированная\"\"\";Na2CO3;99,4;0;21000;;;;;;;;\r\n").toUtf8()));
    EXPECT_TRUE(bytes.contains(
        QStringLiteral("\r\nПесок кварцевый;;;5;1200,5;0,15;0;99,16666666666666666").toUtf8()));
    EXPECT_TRUE(bytes.contains(";;0,2;0,05;0;0,33333333333333333"));
}

TEST_F(RawMaterialsFileTest, ReadsWhatASpreadsheetOrAnEditorMakesOfIt) {
    // No mark, points and commas, blanks around cells, padded and short lines, blank lines, LF.
    const QByteArray text = kHeader + ";SiO2; Al2O3 ;;;\n"
                                      "\n"
                                      " Кремнезём ;SiO2; 98.5 ;1,5;;;;;;;;\n"
                                      "Глина;;;;;12.5;;60;27,5\n"
                                      ";;;;;;;;;;;\n";
    RawMaterialLibrary expected;
    expected.oxideColumns = {"SiO2", "Al2O3"};
    RawMaterial silica;
    silica.name = QStringLiteral("Кремнезём");
    silica.formula = QStringLiteral("SiO2");
    silica.purity = 98.5L;
    silica.moisture = 1.5L;
    RawMaterial clay;
    clay.name = QStringLiteral("Глина");
    clay.lossOnIgnition = 12.5L;
    clay.analysis = {{"SiO2", 60}, {"Al2O3", 27.5L}};
    expected.materials = {silica, clay};
    EXPECT_EQ(parseRawMaterialsFile(text), expected);

    // The regional separator does not change what the file means.
    batch::setDecimalSeparator(u'.');
    EXPECT_EQ(parseRawMaterialsFile(text), expected);
    EXPECT_EQ(parseRawMaterialsFile(formatRawMaterialsFile(expected)), expected);

    for (const QByteArray& empty : {QByteArray(), QByteArray("\xEF\xBB\xBF"), QByteArray("\r\n ;;\r\n")})
        EXPECT_EQ(parseRawMaterialsFile(empty), RawMaterialLibrary());
}

TEST_F(RawMaterialsFileTest, DamagedLibraryNamesTheLineAndTheMaterial) {
    const QByteArray head = kHeader + ";SiO2;Al2O3;CaO\r\n";
    const QByteArray good = "Сода;Na2CO3;;;;;;;;\r\n";
    const struct {
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {head + good + "Мел \xFF;;;;\r\n", "Справочник сырья, строка 3: текст не в кодировке UTF-8!"},
        {head + good + "\"Мел;CaCO3\r\n", "Справочник сырья, строка 3: кавычка не закрыта!"},
        {"Название;Формула;Чистота\r\n" + good,
         "Справочник сырья, строка 1: ожидался заголовок «Название;Формула;Чистота, %;Влажность, %;Цена, "
         "руб/т;ППП, %;CO2, %»!"},
        {kHeader + ";SiO2;SiO3\r\n", "Справочник сырья, строка 1: в заголовке неизвестный оксид «SiO3»!"},
        {kHeader + ";SiO2;;CaO\r\n", "Справочник сырья, строка 1: в заголовке нет названия столбца 9!"},
        {kHeader + ";CaO;SiO2;CaO\r\n", "Справочник сырья, строка 1: оксид CaO в заголовке дважды!"},
        {head + good + "Мел;CaCO3;много;;;;;;;\r\n",
         "Справочник сырья, строка 3 («Мел»): в столбце «Чистота, %» не число: «много»!"},
        {head + good + "Песок;;;;1.200,5;;;100;;\r\n",
         "Справочник сырья, строка 3 («Песок»): в столбце «Цена, руб/т» не число: «1.200,5»!"},
        {head + good + "Песок;;;;-1;;;100;;\r\n",
         "Справочник сырья, строка 3 («Песок»): в столбце «Цена, руб/т» отрицательное число!"},
        {head + good + "Песок;;;;;;;100;-0,1;\r\n",
         "Справочник сырья, строка 3 («Песок»): в столбце «Al2O3» отрицательное число!"},
        {head + good + "Песок;;;;;;;100,01;;\r\n",
         "Справочник сырья, строка 3 («Песок»): в столбце «SiO2» число больше 100!"},
        {head + good + "Мел;CaCO3;0;;;;;;;\r\n",
         "Справочник сырья, строка 3 («Мел»): чистота должна быть больше 0!"},
        {head + good + "Мел;CaCO3;;100;;;;;;\r\n",
         "Справочник сырья, строка 3 («Мел»): влажность должна быть меньше 100 %!"},
        {head + good + "Песок;;;;;0,5;;98,6;;\r\n", "Справочник сырья, строка 3 («Песок»): оксиды и ППП в "
                                                    "сумме дают 99,1 %, а должны давать 100 ± 0,5!"},
        {head + good + "Мел;;;;;43;44;;;57\r\n",
         "Справочник сырья, строка 3 («Мел»): CO2 (44 %) больше ППП (43 %)!"},
        {head + good + "Мел;;;;;;1;;;100\r\n",
         "Справочник сырья, строка 3 («Мел»): CO2 (1 %) больше ППП (0 %)!"},
        {head + good + "Мел;CaCO3;;;;;;;;56\r\n", "Справочник сырья, строка 3 («Мел»): у сырья с формулой "
                                                  "столбцы оксидов, «ППП, %» и «CO2, %» должны быть "
                                                  "пустыми!"},
        {head + good + "Мел;CaCO3;;;;;0;;;\r\n", "Справочник сырья, строка 3 («Мел»): у сырья с формулой "
                                                 "столбцы оксидов, «ППП, %» и «CO2, %» должны быть "
                                                 "пустыми!"},
        {head + good + "Песок;;99;;;;;100;;\r\n",
         "Справочник сырья, строка 3 («Песок»): чистота задаётся только для сырья с формулой!"},
        {head + good + "Песок;;;5;1200;;;;;\r\n",
         "Справочник сырья, строка 3 («Песок»): нет ни формулы, ни анализа!"},
        {head + good + "Мел;CaC03;;;;;;;;\r\n",
         "Справочник сырья, строка 3 («Мел»): Ошибка в формуле «CaC03» в позиции 4: число атомов не может "
         "начинаться с нуля!"},
        {head + good + "Соль;NaCl;;;;;;;;\r\n", "Справочник сырья, строка 3 («Соль»): Сырьё NaCl не годится: "
                                                "элемент Cl не переходит ни в один оксид "
                                                "стекла!"},
        {head + good + "\r\n Сода ;Na2CO3;;;;;;;;\r\n",
         "Справочник сырья, строка 4 («Сода»): сырьё с этим названием уже есть в строке 2!"},
        {head + good + ";Na2CO3;;;;;;;;\r\n", "Справочник сырья, строка 3: нет названия!"},
        {head + good + "\"Сода\r\nпищевая\";NaHCO3;;;;;;;;\r\n",
         "Справочник сырья, строка 3: в названии не может быть переноса строки!"},
        {head + good + "Мел;CaCO3;;;;;;;;;;примечание\r\n",
         "Справочник сырья, строка 3 («Мел»): заполнена ячейка 12, а в заголовке 10 столбцов!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(failureOf([&] { parseRawMaterialsFile(c.bytes); }).toStdString(), c.message)
            << c.bytes.data();

    QByteArray full = head;
    for (int i = 0; i < chemistry::kMaxRawMaterials; ++i)
        full += "Сода " + QByteArray::number(i) + ";Na2CO3\r\n";
    EXPECT_EQ(parseRawMaterialsFile(full).materials.size(), size_t(chemistry::kMaxRawMaterials));
    EXPECT_EQ(failureOf([&] { parseRawMaterialsFile(full + "Мел;CaCO3\r\n"); }),
              QStringLiteral("Справочник сырья, строка 1002: в справочнике больше 1000 материалов!"));
}

// What the window might hold is refused on saving with the message the reader gives for the
// file it would become, and the old file stays.
TEST_F(RawMaterialsFileTest, SavingRefusesWhatReadingRefusesWithTheSameMessage) {
    const QString path = pathOf(QStringLiteral("RawMaterials.csv"));
    writeRawMaterialsFile(path, sample());
    const QByteArray saved = readBytes(path);
    const QByteArray sandLine = QStringLiteral("Песок кварцевый;").toUtf8();
    const struct {
        std::function<void(RawMaterialLibrary&)> change;
        QByteArray from, to; // the same change in the saved text
    } cases[] = {
        {[](RawMaterialLibrary& l) { l.materials[1].analysis[2].percent = 5; }, ";0,05;", ";5;"},
        {[](RawMaterialLibrary& l) { l.materials[1].carbonDioxide = 1; }, ";0,15;0;", ";0,15;1;"},
        {[](RawMaterialLibrary& l) { l.materials[1].price = -5; }, ";1200,5;", ";-5;"},
        {[](RawMaterialLibrary& l) { l.materials[1].purity = 100; }, sandLine + ";;", sandLine + ";100;"},
        {[](RawMaterialLibrary& l) { l.materials[0].lossOnIgnition = 41; }, ";21000;;", ";21000;41;"},
        {[](RawMaterialLibrary& l) { l.materials[1].name = QStringLiteral("  Сода; \"кальцинированная\" "); },
         sandLine, QStringLiteral("\"Сода; \"\"кальцинированная\"\"\";").toUtf8()},
        {[](RawMaterialLibrary& l) { l.materials[0].formula = QStringLiteral("NaCl"); }, ";Na2CO3;",
         ";NaCl;"},
        {[](RawMaterialLibrary& l) { l.oxideColumns[1] = QStringLiteral("B2O5"); }, ";B2O3;", ";B2O5;"},
    };
    for (const auto& c : cases) {
        RawMaterialLibrary library = sample();
        c.change(library);
        const QString reading =
            failureOf([&] { parseRawMaterialsFile(QByteArray(saved).replace(c.from, c.to)); });
        EXPECT_TRUE(reading.startsWith(QStringLiteral("Справочник сырья, строка "))) << reading.toStdString();
        EXPECT_EQ(failureOf([&] { writeRawMaterialsFile(path, library); }), reading);
        EXPECT_EQ(readBytes(path), saved);
    }

    RawMaterialLibrary crowded;
    crowded.materials.assign(chemistry::kMaxRawMaterials + 1, soda());
    for (size_t i = 0; i < crowded.materials.size(); ++i)
        crowded.materials[i].name += QString::number(i);
    EXPECT_EQ(failureOf([&] { writeRawMaterialsFile(path, crowded); }),
              QStringLiteral("Справочник сырья, строка 1002: в справочнике больше 1000 материалов!"));
    EXPECT_EQ(readBytes(path), saved);
}

TEST_F(RawMaterialsFileTest, MissingPipeOrDeviceIsAnEmptyLibraryAndAnUnreadableFileIsAFailure) {
    const QString fifo = pathOf(QStringLiteral("fifo.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path :
         {pathOf(QStringLiteral("RawMaterials.csv")), pathOf(QStringLiteral("Data/RawMaterials.csv")), fifo,
          QStringLiteral("/dev/zero")})
        EXPECT_EQ(readRawMaterialLibrary(path), RawMaterialLibrary()) << path.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pathOf(QStringLiteral("RawMaterials.csv"))) ||
                 QFileInfo::exists(pathOf(QStringLiteral("Data"))))
        << "reading creates nothing";

    // An import names what it cannot read; so does the library when a folder stands in its place.
    EXPECT_EQ(failureOf([&] { readRawMaterialsFile(pathOf(QStringLiteral("missing.csv"))); }), kFileNotFound);
    EXPECT_EQ(failureOf([&] { readRawMaterialLibrary(folder.path()); }), kFileAccessDenied);
}

TEST_F(RawMaterialsFileTest, TooLargeLibraryIsNeitherReadNorWritten) {
    const QString path = pathOf(QStringLiteral("RawMaterials.csv"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(kMaxRawMaterialsFileBytes + 1));
    }
    EXPECT_EQ(failureOf([&] { readRawMaterialLibrary(path); }),
              fileTooLargeMessage(path, kMaxRawMaterialsFileBytes + 1, kMaxRawMaterialsFileBytes));

    writeRawMaterialsFile(path, sample());
    const QByteArray saved = readBytes(path);
    RawMaterialLibrary longNames;
    for (int i = 0; i < chemistry::kMaxRawMaterials; ++i) {
        RawMaterial material = soda();
        material.name = QString::number(i) + QString(1100, u'x');
        longNames.materials.push_back(material);
    }
    const qint64 size = formatRawMaterialsFile(longNames).size();
    ASSERT_GT(size, kMaxRawMaterialsFileBytes);
    EXPECT_EQ(failureOf([&] { writeRawMaterialsFile(path, longNames); }),
              fileTooLargeMessage(path, size, kMaxRawMaterialsFileBytes));
    EXPECT_EQ(readBytes(path), saved);
}

TEST_F(RawMaterialsFileTest, ReadOnlyFolderRefusesTheSaveAndKeepsTheOldFile) {
    const QString data = pathOf(QStringLiteral("Data")), path = data + QStringLiteral("/RawMaterials.csv");
    ASSERT_TRUE(QDir().mkpath(data));
    writeRawMaterialsFile(path, sample());
    const QByteArray saved = readBytes(path);
    Immutable lockedFolder(data), lockedFile(path);
    ASSERT_TRUE(lockedFolder.active() && lockedFile.active())
        << "the file system takes no immutable attribute";
    RawMaterialLibrary changed = sample();
    changed.materials.pop_back();
    EXPECT_EQ(failureOf([&] { writeRawMaterialsFile(path, changed); }), kFileAccessDenied);
    EXPECT_EQ(readBytes(path), saved);
    EXPECT_EQ(entriesOf(data), QStringList{QStringLiteral("RawMaterials.csv")});
}

TEST_F(RawMaterialsFileTest, StarterLibraryReadsAndHoldsTheCompositionWindowsMaterials) {
    const QByteArray bytes = readBytes(QStringLiteral(VELTRONA_SOURCE_DIR "/data/RawMaterials.csv"));
    RawMaterialLibrary library;
    ASSERT_EQ(failureOf([&] { library = parseRawMaterialsFile(bytes); }), QStringLiteral("<no failure>"));
    // Written as the program writes it, so that a save changes only what the user changed.
    EXPECT_EQ(formatRawMaterialsFile(library), bytes);

    QStringList byFormula, withFormula, analysed;
    for (const RawMaterial& material : library.materials) {
        if (material.byFormula()) {
            byFormula << material.name + u'=' + material.formula;
        } else {
            analysed << material.name;
            EXPECT_TRUE(material.name.endsWith(QStringLiteral("(типичный)")) ||
                        material.name.endsWith(QStringLiteral("(пример)")))
                << material.name.toStdString();
        }
    }
    for (const chemistry::GlassRawMaterial& material : chemistry::glassRawMaterials())
        withFormula << material.name + u'=' + material.formula;
    EXPECT_EQ(byFormula, withFormula);
    EXPECT_GE(analysed.size(), 10);
}

} // namespace
