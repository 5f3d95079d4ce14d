// Files that are large, cut short, not regular files at all, or in folders that take no new file.
#include "FailureOf.h"
#include "StorageTestSupport.h"
#include "batch/BatchTables.h"
#include "batch/GridSnapshot.h"
#include "storage/CalculationFile.h"
#include "storage/CompositionFile.h"
#include "storage/ProfileFile.h"

#include <QTemporaryDir>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

using batch::TextGrid;
using namespace storage;
using namespace storage_test;

namespace {

class UnusualFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        batch::setupBatchTable(batchTable);
        batchTable.setCell(0, 1, QStringLiteral("SiO2"));
        batch::setupFractionTable(fractionTable);
    }
    QString pathOf(const QString& name) const { return folder.filePath(name); }
    QStringList state() const {
        return snapshot(batchTable) + snapshot(fractionTable) +
               QStringList{QString::number(batchCount), QString::number(fractionCount)};
    }
    bool load(const QString& path, CalculationShortfall* shortfall = nullptr) {
        return ReadCalculationFile(path, batchTable, fractionTable, batchCount, fractionCount, shortfall);
    }

    QTemporaryDir folder;
    TextGrid batchTable, fractionTable;
    int batchCount = 1, fractionCount = 0;
};

// A sparse file: its size without its blocks, so the test costs no disk.
void makeSparse(const QString& path, qint64 size) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
}

TEST_F(UnusualFilesTest, FileTooLargeIsRefusedBeforeItIsReadAndChangesNothing) {
    const QString calculation = pathOf("huge.veltra"), settings = pathOf("Settings.ini");
    makeSparse(calculation, qint64(512) << 20);
    makeSparse(settings, qint64(512) << 20);
    const QStringList before = state();
    const QString message = failureOf([&] { load(calculation); });
    EXPECT_EQ(message, QStringLiteral("Файл %1 слишком велик (512,0 МБ): программа читает файлы не больше "
                                      "32,0 МБ. Файл не прочитан и не изменён.")
                           .arg(calculation));
    EXPECT_EQ(state(), before);

    ProfileFile profile(settings);
    EXPECT_TRUE(failureOf([&] { profile.read(); }).contains(QStringLiteral("слишком велик")));
    EXPECT_EQ(failureOf([&] { profile.writeInteger("Form", "Form1Color", 1); }),
              "Unable to write to " + settings);
    EXPECT_EQ(QFileInfo(settings).size(), qint64(512) << 20);

    // The largest file taken still loads.
    makeSparse(calculation, kMaxCalculationFileBytes);
    EXPECT_TRUE(load(calculation));
}

TEST_F(UnusualFilesTest, PipesAndDevicesReadAsFilesThatCannotBeOpened) {
    const QString fifo = pathOf("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A writer of our own keeps a wrongly blocking read from hanging the test: closing it ends
    // such a read, and the test fails instead.
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    const QStringList before = state();
    for (const QString& path : {fifo, QStringLiteral("/dev/null"), QStringLiteral("/dev/zero")}) {
        auto reading = std::async(std::launch::async, [&] {
            return std::make_pair(load(path), ProfileFile(path).readString("Form", "Form1Color", "d"));
        });
        const bool finished = reading.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        if (!finished) {
            // Writers that come and go end each blocked read or open, so that the test ends.
            ::close(writer);
            const QByteArray name = QFile::encodeName(fifo);
            while (reading.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
                if (const int unblock = ::open(name.constData(), O_WRONLY | O_NONBLOCK); unblock >= 0)
                    ::close(unblock);
        }
        ASSERT_TRUE(finished) << path.toStdString() << " blocked the reader";
        EXPECT_EQ(reading.get(), std::make_pair(false, QStringLiteral("d"))) << path.toStdString();
        EXPECT_EQ(state(), before);
    }
    EXPECT_EQ(failureOf([&] { ProfileFile(fifo).writeInteger("Form", "Form1Color", 1); }),
              "Unable to write to " + fifo);
    ::close(writer);
}

// Saving onto a pipe used to open it for writing and wait for a reader for ever. Should that come
// back, a reader of the test's own ends the wait and the test fails instead of hanging.
TEST_F(UnusualFilesTest, PipesAndDevicesAreNeitherWrittenNorLoadedAsCompositions) {
    const QString fifo = pathOf("fifo.csv");
    const QByteArray fifoName = QFile::encodeName(fifo);
    ASSERT_EQ(::mkfifo(fifoName.constData(), 0600), 0);
    const batch::GlassCompositionSheet sheet{{}, false, QStringLiteral("100"), QStringLiteral("0")};
    const std::function<void(const QString&)> saves[] = {
        [&](const QString& path) { WriteCalculationFile(path, batchTable, fractionTable); },
        [&](const QString& path) { writeCompositionFile(path, sheet); },
        [&](const QString& path) { readCompositionFile(path); },
    };
    for (const QString& path : {fifo, QStringLiteral("/dev/null")})
        for (const auto& save : saves) {
            auto saving = std::async(std::launch::async, [&] { return failureOf([&] { save(path); }); });
            const bool finished = saving.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
            // The reader stays open and takes what comes until the save ends, so that the writer
            // gets no SIGPIPE.
            int reader = -1;
            while (saving.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
                if (reader < 0)
                    reader = ::open(fifoName.constData(), O_RDONLY | O_NONBLOCK);
                char buffer[4096];
                while (reader >= 0 && ::read(reader, buffer, sizeof buffer) > 0)
                    ;
            }
            if (reader >= 0)
                ::close(reader);
            ASSERT_TRUE(finished) << path.toStdString() << " blocked the save";
            EXPECT_EQ(saving.get(), "File access denied") << path.toStdString();
        }
    EXPECT_EQ(failureOf([&] { ProfileFile(fifo).writeInteger("Form", "Form1Color", 1); }),
              "Unable to write to " + fifo);
    struct stat st {};
    EXPECT_TRUE(::stat(fifoName.constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    EXPECT_TRUE(::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode));
    EXPECT_EQ(
        QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList{"fifo.csv"});
}

// A file system of its own, 64 KiB, filled up: a full disk that costs the machine nothing.
class FullDisk {
public:
    explicit FullDisk(const QString& folder) : path_(QFile::encodeName(folder)) {
        mounted_ = QDir().mkpath(folder) && ::mount("tmpfs", path_.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullDisk() {
        if (mounted_)
            ::umount2(path_.constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk&) = delete;
    bool mounted() const { return mounted_; }
    void fill() const {
        QFile filler(QFile::decodeName(path_) + QStringLiteral("/filler"));
        if (filler.open(QIODevice::WriteOnly))
            while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush())
                ;
    }

private:
    QByteArray path_;
    bool mounted_ = false;
};

TEST_F(UnusualFilesTest, FullDiskSaysSoAndKeepsTheOldFiles) {
    FullDisk disk(pathOf("disk"));
    if (!disk.mounted())
        GTEST_SKIP() << "no file system of the test's own can be mounted here";
    const QString calculation = pathOf("disk/calc.veltra"), composition = pathOf("disk/glass.csv");
    WriteCalculationFile(calculation, batchTable, fractionTable);
    batch::GlassCompositionSheet sheet{{}, false, QStringLiteral("100"), QStringLiteral("0")};
    writeCompositionFile(composition, sheet);
    const QByteArray calculationBefore = readBytes(calculation), compositionBefore = readBytes(composition);
    disk.fill();
    batchTable.setCell(1, 1, QString(9000, u'7'));
    sheet.rows.assign(19, {QString(900, u'S')});
    EXPECT_EQ(failureOf([&] { WriteCalculationFile(calculation, batchTable, fractionTable); }), "Disk full");
    EXPECT_EQ(failureOf([&] { writeCompositionFile(composition, sheet); }), "Disk full");
    EXPECT_EQ(readBytes(calculation), calculationBefore);
    EXPECT_EQ(readBytes(composition), compositionBefore);
    EXPECT_EQ(entriesOf(pathOf("disk")), (QStringList{"calc.veltra", "filler", "glass.csv"}));
}

TEST_F(UnusualFilesTest, SettingsInAFolderThatTakesNoNewFileAreWrittenInPlace) {
    const QString data = pathOf("Data"), settings = pathOf("Data/Settings.ini");
    ASSERT_TRUE(QDir().mkdir(data));
    writeBytes(settings, "; mine\r\n[Form]\r\nForm1Color=1\r\n");
    Immutable lockedFolder(data);
    ASSERT_TRUE(lockedFolder.active()) << "the file system takes no immutable attribute";
    ProfileFile profile(settings);
    profile.writeStrings("Form", {{"Form1Color", "255"}, {"Checkbox1", "0"}});
    EXPECT_EQ(readBytes(settings), "; mine\r\n[Form]\r\nForm1Color=255\r\nCheckbox1=0\r\n");
    profile.writeString("Form", "Form1Color", "7");
    EXPECT_EQ(readBytes(settings), "; mine\r\n[Form]\r\nForm1Color=7\r\nCheckbox1=0\r\n")
        << "shorter contents";
    EXPECT_EQ(entriesOf(data), QStringList{"Settings.ini"});
}

TEST_F(UnusualFilesTest, ByteOrderMarkIsSkippedOnReadingAndKeptOnWriting) {
    const QString settings = pathOf("Settings.ini");
    const QByteArray bom = "\xEF\xBB\xBF";
    writeBytes(settings, bom + "[Form]\r\nForm1Color=255\r\n");
    ProfileFile profile(settings);
    EXPECT_EQ(profile.readInteger("Form", "Form1Color", -1), 255);
    profile.writeStrings("Form", {{"Form1Color", "7"}, {"Checkbox1", "1"}});
    EXPECT_EQ(readBytes(settings), bom + "[Form]\r\nForm1Color=7\r\nCheckbox1=1\r\n");
    writeBytes(settings, bom);
    profile.writeString("Form", "Checkbox1", "0");
    EXPECT_EQ(readBytes(settings), bom + "[Form]\r\nCheckbox1=0\r\n");
}

TEST_F(UnusualFilesTest, FileCutShortLoadsAndTellsHowManyCellsItLacked) {
    const QString path = pathOf("calc.veltra");
    WriteCalculationFile(path, batchTable, fractionTable);
    const QByteArray whole = readBytes(path);
    // Bytes kept, then cells missing of the 200 the two 5 x 20 tables declare (a missing block 2
    // is one 1 x 1 table: 101 cells in all).
    const std::pair<qsizetype, qint64> cases[] = {
        {whole.size(), 0},
        {whole.size() - 2, 1}, // the last cell is an empty line: without its line end it is gone
        {whole.size() - 4, 2},
        {whole.indexOf("5\r\n20\r\n", 10), 1},
        {whole.indexOf("SiO2"), 99 + 1},
        {0, 2},
    };
    for (const auto& [kept, missing] : cases) {
        writeBytes(path, whole.first(kept));
        CalculationShortfall shortfall;
        ASSERT_TRUE(load(path, &shortfall)) << kept;
        EXPECT_EQ(shortfall.missingCells, missing) << kept;
        EXPECT_EQ(shortfall.endedEarly(), missing > 0) << kept;
    }
    const CalculationShortfall shortfall{200, 150};
    EXPECT_EQ(
        earlyEndMessage(path, shortfall),
        QStringLiteral("Файл calc.veltra закончился раньше, чем ожидалось: из 200 ячеек таблиц в нём нет "
                       "150. Недостающие ячейки оставлены пустыми; проверьте таблицы, прежде чем "
                       "сохранять расчёт под тем же именем."));
}

} // namespace
