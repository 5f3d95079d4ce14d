#include "FailureOf.h"
#include "StorageTestSupport.h"

#include "batch/Failure.h"
#include "batch/TextGrid.h"
#include "storage/CalculationFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

using batch::TextGrid;
using storage::ReadCalculationFile;
using storage::WriteCalculationFile;
using namespace storage_test;

namespace {

const QStringList kBatchHeaders = {QStringLiteral("  Вещество"), QStringLiteral("Моляр.масса"),
                                   QStringLiteral("Мольн. доля"), QStringLiteral("Общ.навеска"),
                                   QStringLiteral(" Навеска, гр.")};
const QStringList kFractionHeaders = {QStringLiteral("  Вещество"), QStringLiteral("Моляр.масса"),
                                      QStringLiteral("   Масс, %"), QStringLiteral("Кол-во моль"),
                                      QStringLiteral("Мольн. доля")};

void setHeaders(TextGrid& grid, const QStringList& headers) {
    for (int c = 0; c < headers.size(); ++c)
        grid.setCell(c, 0, headers[c]);
}

QStringList cellsOf(const TextGrid& grid) {
    QStringList cells;
    for (int c = 0; c < grid.columnCount(); ++c)
        for (int r = 0; r < grid.rowCount(); ++r)
            cells << grid.cell(c, r);
    return cells;
}

class CalculationFileTest : public ::testing::Test {
protected:
    QString pathOf(const QString& name) const { return folder.filePath(name); }

    // A small valid file on disk, for tests that must see it survive.
    QString existingFile(const QString& name) {
        const QString path = pathOf(name);
        writeBytes(path, "1\r\n2\r\nold\r\nSiO2\r\n1\r\n1\r\nx\r\n");
        return path;
    }

    QTemporaryDir folder;
    TextGrid batchTable{5, 20};
    TextGrid fractionTable{5, 20};
};

TEST_F(CalculationFileTest, StartUpTablesWriteTheTwoHundredAndFourLineFile) {
    setHeaders(batchTable, kBatchHeaders);
    setHeaders(fractionTable, kFractionHeaders);

    QByteArray expected;
    for (const QStringList* headers : {&kBatchHeaders, &kFractionHeaders}) {
        expected += "5\r\n20\r\n";
        for (const QString& header : *headers) {
            expected += cp1251(header) + "\r\n";
            for (int row = 1; row < 20; ++row)
                expected += "\r\n";
        }
    }
    ASSERT_EQ(expected.count("\r\n"), 204);

    const QString path = pathOf("start.veltra");
    WriteCalculationFile(path, batchTable, fractionTable);
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(entriesOf(folder.path()), QStringList{"start.veltra"}) << "no temporary file may stay behind";
}

TEST_F(CalculationFileTest, RoundTripGivesBackEveryCellAndTheCounts) {
    TextGrid odd(3, 4);
    const QStringList batchCells = {"  Вещество", "Na2O", "", "   ", "Моляр.масса", "61,979", "ёЁ№€", " x "};
    setHeaders(batchTable, kBatchHeaders);
    batchTable.setCell(0, 1, QStringLiteral("SiO2"));
    batchTable.setCell(1, 1, QStringLiteral("60,0848"));
    batchTable.setCell(0, 3, QStringLiteral("   "));
    batchTable.setCell(0, 19, QStringLiteral("Щёлочь «Б»"));
    batchTable.setCell(4, 19, QStringLiteral(" 12,5 "));
    for (int i = 0; i < 12; ++i)
        odd.setCell(i / 4, i % 4, QStringLiteral("ячейка %1 ").arg(i));
    odd.setCell(0, 2, QString());

    const QString path = pathOf("trip.veltra");
    WriteCalculationFile(path, batchTable, odd);

    TextGrid readBatch, readFraction;
    int batchCount = -1, fractionCount = -1;
    ASSERT_TRUE(ReadCalculationFile(path, readBatch, readFraction, batchCount, fractionCount));
    EXPECT_EQ(readBatch.columnCount(), 5);
    EXPECT_EQ(readBatch.rowCount(), 20);
    EXPECT_EQ(cellsOf(readBatch), cellsOf(batchTable));
    EXPECT_EQ(readFraction.columnCount(), 3);
    EXPECT_EQ(readFraction.rowCount(), 4);
    EXPECT_EQ(cellsOf(readFraction), cellsOf(odd));
    EXPECT_EQ(batchCount, 3) << "rows 1, 3 (blanks) and 19";
    EXPECT_EQ(fractionCount, 2) << "row 2 of column 0 is empty";
}

struct ReadCase {
    const char* name;
    QByteArray bytes;
    int batchColumns, batchRows;
    QStringList batchCells; // column by column
    int fractionColumns, fractionRows;
    int batchCount;
};

class CalculationFileReadTest : public CalculationFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(CalculationFileReadTest, ReadsDimensionsCellsAndCounts) {
    const ReadCase& c = GetParam();
    const QString path = pathOf("case.veltra");
    writeBytes(path, c.bytes);
    int batchCount = -1, fractionCount = -1;
    ASSERT_TRUE(ReadCalculationFile(path, batchTable, fractionTable, batchCount, fractionCount));
    EXPECT_EQ(batchTable.columnCount(), c.batchColumns);
    EXPECT_EQ(batchTable.rowCount(), c.batchRows);
    EXPECT_EQ(cellsOf(batchTable), c.batchCells);
    EXPECT_EQ(fractionTable.columnCount(), c.fractionColumns);
    EXPECT_EQ(fractionTable.rowCount(), c.fractionRows);
    EXPECT_EQ(batchCount, c.batchCount);
}

// Block 2 of 1 x 1 with one cell, appended where a case needs a well-formed tail.
const QByteArray kTail = "1\r\n1\r\nz\r\n";

INSTANTIATE_TEST_SUITE_P(
    Counts, CalculationFileReadTest,
    ::testing::Values(
        ReadCase{"BlanksAndBlankLinesBeforeCounts",
                 " \t\r\n\r\n  1\r\n\r\n\t3\r\nh\r\nA\r\nB\r\n" + kTail,
                 1,
                 3,
                 {"h", "A", "B"},
                 1,
                 1,
                 2},
        ReadCase{"TextAfterTheNumberIsSkipped",
                 "1 x\r\n2 rows here\r\nh\r\nA\r\n" + kTail,
                 1,
                 2,
                 {"h", "A"},
                 1,
                 1,
                 1},
        ReadCase{"Hexadecimal",
                 "$2\r\n0x2\r\na\r\nb\r\nc\r\nd\r\n0X1\r\n$a\r\n",
                 2,
                 2,
                 {"a", "b", "c", "d"},
                 1,
                 10,
                 1},
        ReadCase{"SignedAndZeroCountsGiveOne", "-3\r\n+0\r\nonly\r\n" + kTail, 1, 1, {"only"}, 1, 1, 0},
        ReadCase{
            "BareLineFeedsAndAStrayCarriageReturn", "1\n3\nh\na\rb\nc", 1, 3, {"h", "a\rb", "c"}, 1, 1, 2},
        ReadCase{
            "EarlyEndGivesEmptyCellsAndDimensionOne", "2\r\n2\r\nh\r\n", 2, 2, {"h", "", "", ""}, 1, 1, 0},
        ReadCase{"EmptyFile", "", 1, 1, {""}, 1, 1, 0},
        ReadCase{"LargestDimensionsAccepted",
                 "1000\r\n1\r\n" + QByteArray("\r\n").repeated(1000) + "1\r\n100000\r\n", 1000, 1,
                 QStringList(1000, ""), 1, 100000, 0},
        ReadCase{"CellsHoldWindows1251",
                 "1\r\n2\r\n\xc2\xe5\xf9\xe5\xf1\xf2\xe2\xee\r\n \xb8\xb9\x88 \r\n" + kTail,
                 1,
                 2,
                 {"Вещество", " ё№€ "},
                 1,
                 1,
                 1},
        ReadCase{"AnythingAfterBlockTwoIsIgnored",
                 "1\r\n1\r\nh\r\n" + kTail + "junk\r\n5x\r\n",
                 1,
                 1,
                 {"h"},
                 1,
                 1,
                 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CalculationFileTest, InvalidCountsChangeNothing) {
    const QByteArray goodBlock = "1\r\n2\r\nh\r\nNew\r\n";
    const std::pair<const char*, QByteArray> cases[] = {
        {"number run into text", "5x\r\n20\r\n"},
        {"text", "abc\r\n"},
        {"sign alone", goodBlock + "-\r\n1\r\n"},
        {"hex prefix alone", goodBlock + "1\r\n$\r\n"},
        {"beyond 32 bits", "4294967296\r\n1\r\n"},
        {"too many columns", "1001\r\n1\r\n"},
        {"too many columns, hexadecimal", "$3E9\r\n1\r\n"},
        {"too many rows", "1\r\n100001\r\n"},
        {"too many rows in block 2", goodBlock + "1\r\n100001\r\n"},
        {"decimal comma", goodBlock + "1,0\r\n1\r\n"},
    };
    setHeaders(batchTable, kBatchHeaders);
    batchTable.setCell(0, 1, QStringLiteral("SiO2"));
    setHeaders(fractionTable, kFractionHeaders);
    const QStringList batchBefore = cellsOf(batchTable), fractionBefore = cellsOf(fractionTable);
    const QString path = pathOf("bad.veltra");
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        writeBytes(path, bytes);
        int batchCount = 7, fractionCount = 8;
        EXPECT_EQ(failureOf([&] {
                      ReadCalculationFile(path, batchTable, fractionTable, batchCount, fractionCount);
                  }),
                  "Invalid numeric input");
        EXPECT_EQ(batchTable.rowCount(), 20);
        EXPECT_EQ(cellsOf(batchTable), batchBefore);
        EXPECT_EQ(cellsOf(fractionTable), fractionBefore);
        EXPECT_EQ(batchCount, 7);
        EXPECT_EQ(fractionCount, 8);
    }
}

TEST_F(CalculationFileTest, FileThatCannotBeOpenedReadsNothing) {
    batchTable.setCell(0, 0, QStringLiteral("kept"));
    int batchCount = 3, fractionCount = 4;
    for (const QString& path : {pathOf("missing.veltra"), folder.path(), pathOf("no/such/folder.veltra")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(ReadCalculationFile(path, batchTable, fractionTable, batchCount, fractionCount));
        EXPECT_EQ(batchTable.cell(0, 0), "kept");
        EXPECT_EQ(batchCount, 3);
        EXPECT_EQ(fractionCount, 4);
    }
}

TEST_F(CalculationFileTest, ReadFailureAfterOpeningIsAnIoErrorAndChangesNothing) {
    // Opens fine, but reading at offset 0 of the own address space fails with EIO.
    batchTable.setCell(0, 0, QStringLiteral("kept"));
    int batchCount = 3, fractionCount = 4;
    EXPECT_EQ(failureOf([&] {
                  ReadCalculationFile("/proc/self/mem", batchTable, fractionTable, batchCount, fractionCount);
              }),
              "I/O error 5");
    EXPECT_EQ(batchTable.cell(0, 0), "kept");
    EXPECT_EQ(batchCount, 3);
}

TEST_F(CalculationFileTest, SaveFailuresShowTheirMessageAndKeepTheOldFile) {
    const QString loop = pathOf("loop");
    ASSERT_TRUE(QFile::link(loop, loop));
    const QString guarded = existingFile("guarded.veltra");
    const QString lockedFolder = pathOf("locked");
    ASSERT_TRUE(QDir().mkdir(lockedFolder));
    Immutable guardedFile(guarded), guardedFolder(lockedFolder);

    struct Case {
        const char* what;
        QString path;
        QString message;
        bool needsImmutable;
    };
    const Case cases[] = {
        {"missing folder", pathOf("no/such/folder/a.veltra"), "Invalid filename", false},
        {"a folder as the path", folder.path(), "File access denied", false},
        {"an empty name", QString(), "Invalid filename", false},
        {"an immutable file", guarded, "File access denied", true},
        {"a new file in an immutable folder", lockedFolder + "/a.veltra", "File access denied", true},
        {"a full device", "/dev/full", "Disk full", false},
        {"a symbolic link loop on the way", loop + "/a.veltra", "I/O error 40", false},
    };
    const QByteArray guardedBefore = readBytes(guarded);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsImmutable && !(guardedFile.active() && guardedFolder.active())) {
            ADD_FAILURE() << "this file system does not take the immutable attribute";
            continue;
        }
        EXPECT_EQ(failureOf([&] { WriteCalculationFile(c.path, batchTable, fractionTable); }), c.message);
    }
    EXPECT_EQ(readBytes(guarded), guardedBefore);
    EXPECT_EQ(entriesOf(lockedFolder), QStringList());
}

TEST_F(CalculationFileTest, TooManyOpenFiles) {
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
    rlimit none = before;
    none.rlim_cur = 0;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
    const QString message =
        failureOf([&] { WriteCalculationFile(pathOf("a.veltra"), batchTable, fractionTable); });
    ::setrlimit(RLIMIT_NOFILE, &before);
    EXPECT_EQ(message, "Too many open files");
    EXPECT_EQ(entriesOf(folder.path()), QStringList());
}

TEST_F(CalculationFileTest, FullDiskKeepsTheOldFileWhole) {
    const QString diskFolder = pathOf("disk");
    ASSERT_TRUE(QDir().mkdir(diskFolder));
    SmallDisk disk(diskFolder, 64);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const QString path = diskFolder + "/calc.veltra";
    setHeaders(batchTable, kBatchHeaders);
    WriteCalculationFile(path, batchTable, fractionTable);
    const QByteArray before = readBytes(path);
    disk.fill(diskFolder + "/filler");

    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 20; ++r)
            batchTable.setCell(c, r, QString(2000, u'Ж'));
    EXPECT_EQ(failureOf([&] { WriteCalculationFile(path, batchTable, fractionTable); }), "Disk full");
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(entriesOf(diskFolder), (QStringList{"calc.veltra", "filler"}));
}

TEST_F(CalculationFileTest, UnencodableCharacterRefusesTheSave) {
    const QString path = existingFile("formula.veltra");
    const QByteArray before = readBytes(path);
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Al₂O₃"), QStringLiteral("«₂» (U+2082)")},
        {QStringLiteral("α-Al2O3"), QStringLiteral("«α» (U+03B1)")},
        {QStringLiteral("😀"), QStringLiteral("«😀» (U+1F600)")},
    };
    for (const auto& [text, named] : cases) {
        SCOPED_TRACE(text.toStdString());
        fractionTable.setCell(1, 2, text);
        const QString message = failureOf([&] { WriteCalculationFile(path, batchTable, fractionTable); });
        EXPECT_TRUE(message.contains(named)) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("столбец 2, строка 3"))) << message.toStdString();
        EXPECT_EQ(readBytes(path), before);
        EXPECT_FALSE(QFile::exists(pathOf("new.veltra")));
        failureOf([&] { WriteCalculationFile(pathOf("new.veltra"), batchTable, fractionTable); });
        EXPECT_FALSE(QFile::exists(pathOf("new.veltra")));
    }
}

TEST_F(CalculationFileTest, SavingReplacesAnExistingFileAndKeepsItsPermissions) {
    const QString path = existingFile("calc.veltra");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    batchTable.setCell(0, 0, QStringLiteral("новое"));
    WriteCalculationFile(path, batchTable, fractionTable);
    EXPECT_TRUE(readBytes(path).startsWith("5\r\n20\r\n" + cp1251(QStringLiteral("новое")) + "\r\n"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

} // namespace
