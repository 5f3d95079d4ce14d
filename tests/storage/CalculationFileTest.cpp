#include "storage/CalculationFile.h"
#include "FailureOf.h"
#include "StorageTestSupport.h"
#include "batch/BatchTables.h"
#include "batch/GridSnapshot.h"
#include "storage/ProfileFile.h"

#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using batch::TextGrid;
using namespace storage;
using namespace storage_test;

namespace {

class CalculationFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        batch::setupBatchTable(batchTable);
        batch::setupFractionTable(fractionTable);
    }
    QString pathOf(const QString& name) const { return folder.filePath(name); }
    // Both tables and their counts, to see a failed read leave them all as they were.
    QStringList state() const {
        return snapshot(batchTable) + snapshot(fractionTable) +
               QStringList{QString::number(batchCount), QString::number(fractionCount)};
    }
    QString read(const QString& path) {
        return failureOf(
            [&] { ReadCalculationFile(path, batchTable, fractionTable, batchCount, fractionCount); });
    }
    QString write(const QString& path) {
        return failureOf([&] { WriteCalculationFile(path, batchTable, fractionTable); });
    }

    QTemporaryDir folder;
    TextGrid batchTable, fractionTable;
    int batchCount = 7, fractionCount = 8;
};

TEST_F(CalculationFileTest, StartUpTablesWriteTheTwoHundredAndFourLineFile) {
    QByteArray expected;
    for (const TextGrid* table : {&batchTable, &fractionTable}) {
        expected += "5\r\n20\r\n";
        for (int c = 0; c < 5; ++c)
            expected += cp1251(table->cell(c, 0)) + QByteArray("\r\n").repeated(20);
    }
    ASSERT_EQ(expected.count("\r\n"), 204);
    ASSERT_EQ(write(pathOf("start.veltra")), "<no failure>");
    EXPECT_EQ(readBytes(pathOf("start.veltra")), expected);
    EXPECT_EQ(entriesOf(folder.path()), QStringList{"start.veltra"}) << "no temporary file may stay behind";
}

TEST_F(CalculationFileTest, RoundTripOverAnOldFileKeepsCellsCountsAndPermissions) {
    const QString path = pathOf("trip.veltra");
    writeBytes(path, "1\r\n1\r\nold\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    batchTable.setCell(0, 1, QStringLiteral("SiO2"));
    batchTable.setCell(0, 3, QStringLiteral("   "));
    batchTable.setCell(0, 19, QStringLiteral("Щёлочь «Б» ёЁ№€"));
    batchTable.setCell(4, 19, QStringLiteral(" 12,5 "));
    TextGrid odd(3, 4);
    for (int i = 0; i < 12; ++i)
        odd.setCell(i / 4, i % 4, i == 2 ? QString() : QStringLiteral("ячейка %1 ").arg(i));
    WriteCalculationFile(path, batchTable, odd);

    const QStringList written = snapshot(batchTable) + snapshot(odd);
    TextGrid readBatch, readFraction;
    ASSERT_TRUE(ReadCalculationFile(path, readBatch, readFraction, batchCount, fractionCount));
    EXPECT_EQ(snapshot(readBatch) + snapshot(readFraction), written);
    EXPECT_EQ(batchCount, 3) << "rows 1, 3 (blanks) and 19";
    EXPECT_EQ(fractionCount, 2) << "row 2 of column 0 is empty";
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(CalculationFileTest, ReadsCountsAsWrittenByHandAndCellsUpToTheEnd) {
    // Block 2 of 1 x 1 with one cell, appended where a case needs a well-formed tail.
    const QByteArray tail = "1\r\n1\r\nz\r\n";
    // Expected: the batch table's dimensions and cells, the fraction table's dimensions, both counts.
    const std::pair<QByteArray, const char*> cases[] = {
        {" \t\r\n\r\n  1\r\n\r\n\t3\r\nh\r\nA\r\nB\r\n" + tail, "1x3 h|A|B / 1x1 / 2 0"},
        {"1 x\r\n2 rows here\r\nh\r\nA\r\n" + tail, "1x2 h|A / 1x1 / 1 0"},
        {"$2\r\n0x2\r\na\r\nb\r\nc\r\nd\r\n0X1\r\n$a\r\n", "2x2 a|b|c|d / 1x10 / 1 0"},
        {"-3\r\n+0\r\nonly\r\n" + tail, "1x1 only / 1x1 / 0 0"},
        {"1\n3\nh\na\rb\nc", "1x3 h|a\rb|c / 1x1 / 2 0"},
        {"2\r\n2\r\nh\r\n", "2x2 h||| / 1x1 / 0 0"},
        {"", "1x1  / 1x1 / 0 0"},
        {"1\r\n2\r\n\xc2\xe5\xf9\xe5\xf1\xf2\xe2\xee\r\n \xb8\xb9\x88 \r\n" + tail,
         "1x2 Вещество| ё№€  / 1x1 / 1 0"},
        {"1\r\n1\r\nh\r\n" + tail + "junk\r\n5x\r\n", "1x1 h / 1x1 / 0 0"},
    };
    for (const auto& [bytes, expected] : cases) {
        writeBytes(pathOf("case.veltra"), bytes);
        EXPECT_EQ(read(pathOf("case.veltra")), "<no failure>") << expected;
        const QString described = QString::asprintf(
            "%dx%d %s / %dx%d / %d %d", batchTable.columnCount(), batchTable.rowCount(),
            qUtf8Printable(snapshot(batchTable).mid(2).join(u'|')), fractionTable.columnCount(),
            fractionTable.rowCount(), batchCount, fractionCount);
        EXPECT_EQ(described, QString::fromUtf8(expected));
    }
    writeBytes(pathOf("largest.veltra"), "100\r\n1\r\n" + QByteArray("\r\n").repeated(100) + "1\r\n5000\r\n" +
                                             QByteArray("\r\n").repeated(5000));
    ASSERT_EQ(read(pathOf("largest.veltra")), "<no failure>");
    EXPECT_EQ(batchTable.columnCount(), 100);
    EXPECT_EQ(fractionTable.rowCount(), 5000);
}

TEST_F(CalculationFileTest, ReadsThatFailChangeNothing) {
    const QByteArray goodBlock = "1\r\n2\r\nh\r\nNew\r\n";
    const std::pair<const char*, QByteArray> invalid[] = {
        {"number run into text", "5x\r\n20\r\n"},
        {"text", "abc\r\n"},
        {"sign alone", goodBlock + "-\r\n1\r\n"},
        {"hex prefix alone", goodBlock + "1\r\n$\r\n"},
        {"beyond 32 bits", "4294967296\r\n1\r\n"},
        {"too many columns", "101\r\n1\r\n"},
        {"too many columns, hexadecimal", "$65\r\n1\r\n"},
        {"too many rows", "1\r\n5001\r\n"},
        {"too many rows in block 2", goodBlock + "1\r\n5001\r\n"},
        {"1000 x 100000 in 28 bytes", "1000\r\n100000\r\n1\r\n1\r\n\r\n"},
        {"decimal comma", goodBlock + "1,0\r\n1\r\n"},
    };
    batchTable.setCell(0, 1, QStringLiteral("SiO2"));
    const QStringList before = state();
    for (const auto& [what, bytes] : invalid) {
        writeBytes(pathOf("bad.veltra"), bytes);
        EXPECT_EQ(read(pathOf("bad.veltra")), "Invalid numeric input") << what;
        EXPECT_EQ(state(), before) << what;
    }
    for (const QString& path : {pathOf("missing.veltra"), folder.path(), pathOf("no/such/folder.veltra")}) {
        EXPECT_FALSE(ReadCalculationFile(path, batchTable, fractionTable, batchCount, fractionCount))
            << path.toStdString();
        EXPECT_EQ(state(), before);
    }
    // Opens fine, but reading at offset 0 of the own address space fails with EIO.
    EXPECT_EQ(read("/proc/self/mem"), "I/O error 5");
    EXPECT_EQ(state(), before);
}

TEST_F(CalculationFileTest, SaveFailuresShowTheirMessageAndKeepTheOldFile) {
    const QString loop = pathOf("loop");
    ASSERT_TRUE(QFile::link(loop, loop));
    const QString guarded = pathOf("guarded.veltra"), lockedFolder = pathOf("locked");
    writeBytes(guarded, "1\r\n1\r\nold\r\n");
    ASSERT_TRUE(QDir().mkdir(lockedFolder));
    Immutable guardedFile(guarded), guardedFolder(lockedFolder);
    ASSERT_TRUE(guardedFile.active() && guardedFolder.active())
        << "the file system takes no immutable attribute";
    const std::pair<QString, QString> cases[] = {
        {pathOf("no/such/folder/a.veltra"), "Invalid filename"},
        {folder.path(), "File access denied"},
        {QString(), "Invalid filename"},
        {guarded, "File access denied"},
        {lockedFolder + "/a.veltra", "File access denied"},
        {"/dev/full", "File access denied"}, // a device is no file to save into
        {loop + "/a.veltra", "I/O error 40"},
    };
    for (const auto& [path, message] : cases)
        EXPECT_EQ(write(path), message) << path.toStdString();
    EXPECT_EQ(readBytes(guarded), "1\r\n1\r\nold\r\n");
    EXPECT_EQ(entriesOf(lockedFolder), QStringList());

    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit before = limit;
    limit.rlim_cur = 0;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    const QString message = write(pathOf("a.veltra"));
    ::setrlimit(RLIMIT_NOFILE, &before);
    EXPECT_EQ(message, "Too many open files");
    EXPECT_FALSE(QFile::exists(pathOf("a.veltra")));
}

TEST_F(CalculationFileTest, WriteThatFailsHalfwayKeepsTheOldFilesWhole) {
    const QString path = pathOf("calc.veltra"), settings = pathOf("Settings.ini");
    ASSERT_EQ(write(path), "<no failure>");
    ProfileFile profile(settings);
    profile.writeString("Form", "Form1Color", "1");
    const QByteArray before = readBytes(path), settingsBefore = readBytes(settings);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 20; ++r)
            batchTable.setCell(c, r, QString(2000, u'Ж'));

    // A file size limit far below the new contents stops the writes halfway, as a full disk would.
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit unlimited = limit;
    limit.rlim_cur = 4096;
    const auto handler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const QString message = write(path);
    const QString profileMessage =
        failureOf([&] { profile.writeString("Form", "panel3Color", QString(8000, u'7')); });
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    ::signal(SIGXFSZ, handler);

    EXPECT_EQ(message, "I/O error 27");
    EXPECT_EQ(profileMessage, "Unable to write to " + settings);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(readBytes(settings), settingsBefore);
    EXPECT_EQ(entriesOf(folder.path()), (QStringList{"Settings.ini", "calc.veltra"}));
}

TEST_F(CalculationFileTest, UnencodableCharacterRefusesTheSaveAndNamesItsCell) {
    const QString path = pathOf("formula.veltra");
    writeBytes(path, "1\r\n1\r\nold\r\n");
    fractionTable.setCell(1, 2, QStringLiteral("Al₂O₃"));
    for (const QString& target : {path, pathOf("new.veltra")})
        EXPECT_EQ(write(target),
                  QStringLiteral("Символ «₂» (U+2082) в таблице «Перевод массовых и мольных долей» "
                                 "(столбец 2, строка 3) нельзя записать в кодировке Windows-1251"));
    EXPECT_EQ(readBytes(path), "1\r\n1\r\nold\r\n");
    EXPECT_EQ(entriesOf(folder.path()), QStringList{"formula.veltra"});
}

} // namespace
