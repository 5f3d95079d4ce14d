#include "storage/CompositionFile.h"
#include "FailureOf.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace storage {
namespace {

batch::GlassCompositionSheet sample() {
    batch::GlassCompositionSheet sheet;
    sheet.rows = {{QStringLiteral("SiO2"), QStringLiteral("72"), QStringLiteral("SiO2"), QString(),
                   QStringLiteral("5"), QString()},
                  {QStringLiteral("Na2O"), QStringLiteral("14,5"), QStringLiteral("Na2B4O7·10H2O"),
                   QStringLiteral("98"), QString(), QStringLiteral("3")},
                  // Texts the format must quote.
                  {QStringLiteral("a;b"), QStringLiteral("\"x\""), QStringLiteral("line\nbreak"), QString(),
                   QString(), QString()}};
    sheet.molePercent = true;
    sheet.glassMass = QStringLiteral("1000");
    sheet.cullet = QStringLiteral("20");
    return sheet;
}

TEST(CompositionFile, RoundTripThroughTheDisk) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("состав.csv"));
    writeCompositionFile(path, sample());
    const batch::GlassCompositionSheet read = readCompositionFile(path);
    EXPECT_EQ(read.rows, sample().rows);
    EXPECT_TRUE(read.molePercent);
    EXPECT_EQ(read.glassMass, QStringLiteral("1000"));
    EXPECT_EQ(read.cullet, QStringLiteral("20"));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF\xD0\xA1")); // the UTF-8 mark, then "С"
    EXPECT_TRUE(bytes.contains(QStringLiteral("SiO2;72;SiO2;;5;;\r\n").toUtf8()));
}

TEST(CompositionFile, DamagedFileNamesTheLine) {
    const QByteArray good = formatCompositionFile(sample());
    const struct {
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {QByteArray(), "Файл состава повреждён: строка 1 — нет строки «Содержание»!"},
        {QByteArray(good).replace("мольные", "мольн"),
         "Файл состава повреждён: строка 1 — ожидалось «массовые %» или «мольные %»!"},
        {QByteArray(good).replace("Стеклобой, %", "Бой"),
         "Файл состава повреждён: строка 3 — ожидалось «Стеклобой, %;…»!"},
        {QByteArray(good).replace("SiO2;72;SiO2;;5;;", "SiO2;72;SiO2"),
         "Файл состава повреждён: строка 5 — в строке состава должно быть 7 полей, а не 3!"},
        {good + QByteArray("\"SiO2;1;;;;\r\n"), "Файл состава повреждён: строка 9 — кавычка не закрыта!"},
        {good + QByteArray("K2O;1;K2CO3;;;;\r\n").repeated(28),
         "Файл состава повреждён: строка 36 — больше 30 строк состава!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(failureOf([&] { parseCompositionFile(c.bytes); }).toStdString(), c.message);
}

// Fixed amounts take a seventh column, which every file is written with; the files of earlier
// versions have six and still load. Listed oxides and additions together fill at most 30 rows.
TEST(CompositionFile, FixedAmountsTakeASeventhColumnAndSixColumnFilesStillLoad) {
    const QByteArray earlier = "\xEF\xBB\xBFСодержание;массовые %\r\nМасса стекла, г;100\r\nСтеклобой, %;\r\n"
                               "Оксид;Содержание;Сырьё;Чистота, %;Влажность, %;Улетучивание, %\r\n"
                               "SiO2;72;Песок (пример);;;\r\nNa2O;28;Na2CO3;99;;3\r\n";
    const batch::GlassCompositionSheet old = parseCompositionFile(earlier);
    ASSERT_EQ(old.rows.size(), 2u);
    EXPECT_EQ(old.rows[0], (batch::CompositionRowText{QStringLiteral("SiO2"), QStringLiteral("72"),
                                                      QStringLiteral("Песок (пример)")}));
    EXPECT_EQ(old.rows[1][5], QStringLiteral("3"));
    EXPECT_EQ(formatCompositionFile(old),
              QByteArray(earlier)
                  .replace("Улетучивание, %", "Улетучивание, %;Задано, г на 100 г стекла")
                  .replace("Песок (пример);;;", "Песок (пример);;;;")
                  .replace("99;;3", "99;;3;"))
        << "an earlier file is written again with the column of amounts";

    batch::GlassCompositionSheet withSulfate = sample();
    withSulfate.rows.push_back(batch::CompositionRowText{QString(), QString(), QStringLiteral("Na2SO4"),
                                                         QString(), QStringLiteral("2"), QString(),
                                                         QStringLiteral("0,8")});
    const QByteArray bytes = formatCompositionFile(withSulfate);
    EXPECT_TRUE(bytes.contains("Улетучивание, %;Задано, г на 100 г стекла\r\nSiO2;72;SiO2;;5;;\r\n"));
    EXPECT_TRUE(bytes.endsWith(";;Na2SO4;;2;;0,8\r\n"));
    EXPECT_EQ(parseCompositionFile(bytes).rows, withSulfate.rows);
    EXPECT_EQ(failureOf([&] { parseCompositionFile(bytes + "K2O;1;K2CO3;;;\r\n"); }).toStdString(),
              "Файл состава повреждён: строка 10 — в строке состава должно быть 7 полей, а не 6!");

    batch::GlassCompositionSheet full = withSulfate;
    while (full.rows.size() < size_t(batch::kCompositionRows))
        full.rows.push_back(full.rows.back());
    EXPECT_EQ(parseCompositionFile(formatCompositionFile(full)).rows.size(), 30u);
}

// A spreadsheet that saves the file again pads every line to seven fields; the rows stay what they were.
TEST(CompositionFile, EmptyFieldsThatASpreadsheetAddsAreTaken) {
    QByteArray padded;
    for (const QByteArray& line : formatCompositionFile(sample()).split('\n'))
        if (!line.isEmpty())
            padded += line.endsWith('\r') ? line.chopped(1) + ";;;;\r\n" : line + '\n';
    const batch::GlassCompositionSheet read = parseCompositionFile(padded);
    EXPECT_EQ(read.rows, sample().rows);
    EXPECT_EQ(read.glassMass, QStringLiteral("1000"));
    EXPECT_EQ(read.cullet, QStringLiteral("20"));
    // A field with text beyond the seventh is still no composition row.
    EXPECT_EQ(failureOf([&] { parseCompositionFile(padded + "K2O;1;K2CO3;;;;;x\r\n"); }).toStdString(),
              "Файл состава повреждён: строка 9 — в строке состава должно быть 7 полей, а не 8!");
    EXPECT_EQ(failureOf([&] { parseCompositionFile("Содержание;массовые %;;x\r\n"); }).toStdString(),
              "Файл состава повреждён: строка 1 — ожидалось «Содержание;…»!");
}

// A last row without a line end may have been cut anywhere in it: it loads, and its line is
// reported.
TEST(CompositionFile, LastRowWithoutLineEndIsReported) {
    batch::GlassCompositionSheet twoRows = sample();
    twoRows.rows.resize(2);
    twoRows.rows[1][6] = QStringLiteral("12,5"); // a cut inside the last field leaves every field there
    const QByteArray two = formatCompositionFile(twoRows), whole = formatCompositionFile(sample());
    const struct {
        QByteArray bytes;
        int line; // 0: the file ends with a line end
    } cases[] = {
        {whole, 0},
        {whole.chopped(2), 7}, // "a;b"… starts on line 7 and holds a line break
        {whole.chopped(1), 0}, // a lone carriage return ends the line as well
        {whole + "   ", 0},    // blanks after the last line end are no row
        {whole + ";;;;;", 0},  // nor is an empty row
        {two.first(two.lastIndexOf("2,5")), 6},
        {two.first(two.lastIndexOf("B4O7")), 6}, // cut inside the raw material, fields missing
    };
    for (const auto& c : cases) {
        int line = -1;
        EXPECT_EQ(failureOf([&] { parseCompositionFile(c.bytes, &line); }), "<no failure>");
        EXPECT_EQ(line, c.line) << c.bytes.right(12).toStdString();
    }
    const batch::GlassCompositionSheet cut = parseCompositionFile(two.first(two.lastIndexOf("2,5")));
    EXPECT_EQ(cut.rows[1][6], QStringLiteral("1")) << "the cut field loads as it stands";
    const batch::GlassCompositionSheet shorter = parseCompositionFile(two.first(two.lastIndexOf("B4O7")));
    EXPECT_EQ(shorter.rows[1], (batch::CompositionRowText{QStringLiteral("Na2O"), QStringLiteral("14,5"),
                                                          QStringLiteral("Na2")}));
    EXPECT_EQ(unendedFileMessage(QStringLiteral("/tmp/состав.csv"), 6),
              QStringLiteral("Файл состава «состав.csv» не заканчивается концом строки: строка 6 могла быть "
                             "обрезана. Проверьте её."));
}

} // namespace
} // namespace storage
