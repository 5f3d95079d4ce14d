// The main window with files that are large, cut short or edited by hand.
#include "MainWindowFixture.h"
#include "storage/CalculationFile.h"

#include <QCheckBox>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Counts what happens to one file in a folder, as the kernel reports it.
class FileEvents {
public:
    FileEvents(const QString& folder, QString name)
        : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), name_(std::move(name)) {
        ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(),
                            IN_OPEN | IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~FileEvents() { ::close(fd_); }
    bool active() const { return fd_ >= 0; }

    // The events of the given kinds since the last call.
    int take(uint32_t mask) {
        int count = 0;
        alignas(inotify_event) char buffer[65536];
        for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                if ((event->mask & mask) && event->len > 0 && QString::fromUtf8(event->name) == name_)
                    ++count;
                p += sizeof(inotify_event) + event->len;
            }
        return count;
    }

private:
    int fd_;
    QString name_;
};

class UnusualFilesWindowTest : public MainWindowTest {};

TEST_F(UnusualFilesWindowTest, SettingsAreReadOnceAtStartAndWrittenOnceAtClose) {
    writeBytes(settingsPath(), "; kept\r\n[form]\r\ncheckbox2=1\r\n");
    destroyWindows();
    createWindows();
    FileEvents events(folder.filePath("Data"), QStringLiteral("Settings.ini"));
    ASSERT_TRUE(events.active());
    dialogs.answers.push_back(Dialogs::Answer::No);
    mainWindow->close();
    EXPECT_EQ(events.take(IN_MOVED_TO | IN_CLOSE_WRITE), 1) << "one replacement of the file at close";
    destroyWindows();
    createWindows();
    EXPECT_EQ(events.take(IN_OPEN), 1) << "one reading of the file at start";
    EXPECT_TRUE(settingsWindow->rowSelectionCheckBox->isChecked());
    EXPECT_TRUE(bytesOf(settingsPath()).startsWith("; kept\r\n[form]\r\nCheckbox2=1\r\nForm1Color="));
}

TEST_F(UnusualFilesWindowTest, LoadingAFileCutShortSaysSoBeforeTheCalculationsRun) {
    const QString name = path("cut.veltra");
    writeBytes(name, "5\r\n20\r\nh\r\nSiO2\r\n");
    dialogs.fileNames.push_back(name);
    run("N16");
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.messages.first(), storage::earlyEndMessage(name, {101, 99}));
    EXPECT_EQ(dialogs.messages.mid(1), (QStringList{kTooFew, kTooFew}));
    EXPECT_EQ(mainWindow->batchTable.cell(0, 1), "SiO2");

    // A whole file loads without it.
    dialogs.messages.clear();
    storage::WriteCalculationFile(name, mainWindow->batchTable, mainWindow->fractionTable);
    dialogs.fileNames.push_back(name);
    run("N16");
    EXPECT_EQ(dialogs.messages, (QStringList{kTooFew, kTooFew}));
}

TEST_F(UnusualFilesWindowTest, TableShowsTheStartOfAVeryLongCellAndKeepsItWhole) {
    const QString longText = QString(1'000'000, u'Ж');
    mainWindow->batchTable.setCell(0, 0, longText);
    mainWindow->batchTable.setCell(1, 1, longText);
    mainWindow->fractionSummary.setCell(0, 0, longText);
    const QString shown = longText.first(TextGridModel::kMaxShownCharacters - 1) + QChar(0x2026);
    TextGridModel* batch = mainWindow->batchGrid->textModel();
    const QModelIndex cell = batch->indexForCell(1, 1);
    EXPECT_EQ(batch->data(cell, Qt::DisplayRole).toString(), shown);
    EXPECT_EQ(batch->data(cell, Qt::EditRole).toString(), longText);
    EXPECT_EQ(batch->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), shown);
    EXPECT_EQ(
        mainWindow->fractionSummaryGrid->textModel()->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(),
        shown);
    EXPECT_EQ(mainWindow->batchTable.cell(1, 1), longText);
    // A surrogate pair at the cut is kept whole or not at all.
    const QString pairs = QString(2, u'a') + QString::fromUtf8("😀").repeated(3000);
    EXPECT_EQ(TextGridModel::shownText(pairs),
              pairs.first(TextGridModel::kMaxShownCharacters - 2) + QChar(0x2026));
}

} // namespace
