// Saving, loading and starting a calculation afresh through the main window's menu and toolbar,
// and the question the window asks before it closes; real files in the test's own folder. The
// file format itself is pinned down by the storage tests.
#include "MainWindowFixture.h"

#include <QFileInfo>
#include <optional>

namespace {

// Everything a calculation consists of in the window, to compare before and after a command.
struct Snapshot {
    QStringList batch, fraction, batchSummary, fractionSummary;
    int batchRows, fractionRows;
    bool operator==(const Snapshot&) const = default;
};

class FilesWindowTest : public MainWindowTest {
protected:
    void withFile(const char* command, const std::optional<QString>& name) {
        dialogs.fileNames.push_back(name);
        run(command);
    }

    // Every entry of the test folder, hidden ones included, so that a stray temporary file shows.
    QStringList folderEntries() const {
        QStringList entries =
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        entries.sort();
        return entries;
    }

    Snapshot snapshot() const {
        return {cells(mainWindow->batchTable),   cells(mainWindow->fractionTable),
                cells(mainWindow->batchSummary), cells(mainWindow->fractionSummary),
                mainWindow->batchRowCount,       mainWindow->fractionRowCount};
    }

    // Two substances in each table, entered as the user enters them.
    void fillBothTables() {
        fillBatch({{"1. SiO2", "50"}, {"9. Na2O", "50"}});
        fillFractions({{"1. SiO2", "50"}, {"9. Na2O", "50"}});
        showTab(0);
    }
};

TEST_F(FilesWindowTest, SaveWritesUnderTheChosenNameWithVeltraAlwaysAppended) {
    for (const char* command : {"ToolButton2", "N17"}) {
        SCOPED_TRACE(command);
        writeBytes(path("a.veltra"), "keep\r\n");
        withFile(command, path("a.veltra"));
        EXPECT_EQ(bytesOf(path("a.veltra")), QByteArray("keep\r\n"));
        EXPECT_TRUE(bytesOf(path("a.veltra.veltra")).startsWith("5\r\n20\r\n"));
        ASSERT_TRUE(QFile::remove(path("a.veltra.veltra")));

        const QStringList before = folderEntries();
        withFile(command, std::nullopt); // a cancelled dialog writes nothing
        EXPECT_EQ(folderEntries(), before);
        withFile(command, path("missing/calc"));
        ASSERT_EQ(dialogs.failures.size(), 1);
        EXPECT_TRUE(dialogs.failures.takeFirst().startsWith(QStringLiteral("Invalid filename")));
        EXPECT_EQ(folderEntries(), before);
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_FALSE(mainWindow->batchComputed); // saving runs no calculation
}

TEST_F(FilesWindowTest, EachFileDialogProposesTheNameChosenInItLastTime) {
    const QString saved = path("first");
    const QString opened = path("first.veltra");
    withFile("N17", saved);
    withFile("ToolButton2", std::nullopt); // a cancel keeps the name proposed
    withFile("N16", opened);
    withFile("ToolButton1", std::nullopt);
    withFile("N17", std::nullopt);
    dialogs.answers.push_back(Dialogs::Answer::Yes); // the close question saves through the same dialog
    dialogs.fileNames.push_back(std::nullopt);
    EXPECT_TRUE(mainWindow->close());
    EXPECT_EQ(dialogs.proposedNames, (QStringList{QString(), saved, QString(), opened, saved, saved}));
}

// The file carries stale results; loading it brings back both tables and their counts, and both
// calculations compute the results anew.
TEST_F(FilesWindowTest, LoadRestoresBothTablesAndRecomputesThemUnlessTheFileIsDamaged) {
    fillBothTables();
    run("Button112");
    showTab(1);
    run("Button115");
    ASSERT_TRUE(dialogs.messages.isEmpty());
    const Snapshot computed = snapshot();
    mainWindow->batchTable.setCell(4, 1, QStringLiteral("999"));
    mainWindow->fractionTable.setCell(4, 2, QStringLiteral("999"));
    withFile("N17", path("both"));

    run("N19");
    mainWindow->batchSummary.setCell(1, 0, QString());
    mainWindow->fractionSummary.setCell(1, 1, QString());
    withFile("ToolButton1", path("both.veltra"));
    EXPECT_EQ(snapshot(), computed);
    EXPECT_TRUE(mainWindow->batchComputed);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());

    // A damaged file changes nothing and runs no calculation, which would overwrite the stale cells.
    writeBytes(path("damaged.veltra"), "5x\r\n" + bytesOf(path("both.veltra")).mid(3));
    mainWindow->batchTable.setCell(4, 1, QStringLiteral("stale"));
    mainWindow->fractionTable.setCell(4, 1, QStringLiteral("stale"));
    const Snapshot before = snapshot();
    withFile("N16", path("damaged.veltra"));
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("Invalid numeric input")});
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(snapshot(), before);
}

// A cancelled dialog reads nothing, and the calculations still run: the batch first, then the
// fractions.
TEST_F(FilesWindowTest, LoadWithoutAFileStillRunsBothCalculations) {
    fillBatch({{"1. SiO2", "50"}, {"9. Na2O", ""}});
    const Snapshot before = snapshot();
    withFile("N16", std::nullopt);
    EXPECT_EQ(dialogs.messages, (QStringList{kMissingInputs, kTooFew}));
    EXPECT_TRUE(dialogs.failures.isEmpty());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(FilesWindowTest, NewCalculationCommandsClearTheEntryListsOneAndTwoAndBothTables) {
    const Snapshot empty = snapshot();
    for (const char* command : {"ToolButton4", "N19", "N29"}) {
        SCOPED_TRACE(command);
        fillBothTables();
        run("Button112");
        ASSERT_TRUE(mainWindow->batchComputed);
        Snapshot expected = empty; // the summaries keep their lines
        expected.batchSummary = cells(mainWindow->batchSummary);
        choose("10. CaO");
        element(QStringLiteral("H")); // a key press makes the symbol keys usable
        mainWindow->refreshControls();
        run("Button119");
        ASSERT_TRUE(mainWindow->hydrateMode);
        mainWindow->moleFractionEdit->setText(QStringLiteral("10"));
        mainWindow->totalMassEdit->setText(QStringLiteral("100"));
        for (int list = 0; list < 6; ++list)
            mainWindow->catalogueLists[static_cast<size_t>(list)]->setCurrentIndex(list + 1);

        run(command);
        EXPECT_EQ(entry(), (QStringList{"", "", "", "", "0"}));
        EXPECT_FALSE(mainWindow->hydrateMode);
        EXPECT_FALSE(mainWindow->calculateMolarMassButton->isEnabled());
        EXPECT_FALSE(mainWindow->clearEntryButton->isEnabled());
        EXPECT_FALSE(mainWindow->addSubstanceButton->isEnabled());
        std::vector<int> lists;
        for (QComboBox* combo : mainWindow->catalogueLists)
            lists.push_back(combo->currentIndex());
        EXPECT_EQ(lists, (std::vector<int>{0, 0, 3, 4, 5, 6}));
        EXPECT_EQ(snapshot(), expected);
        EXPECT_FALSE(mainWindow->batchComputed);
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.questions.isEmpty());
}

struct CloseCase {
    const char* name;
    Dialogs::Answer answer;
    const char* chosen; // the save dialog's answer ("" cancels), when it is shown
    bool closes;
};

void PrintTo(const CloseCase& closing, std::ostream* out) {
    *out << closing.name;
}

class CloseQuestion : public FilesWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestion, DecidesWhetherTheWindowClosesAndWhatIsSaved) {
    const CloseCase& closing = GetParam();
    const bool saves = closing.chosen && *closing.chosen;
    dialogs.answers.push_back(closing.answer);
    if (closing.chosen)
        dialogs.fileNames.push_back(saves ? std::optional(path(closing.chosen)) : std::nullopt);
    QStringList expected = folderEntries();

    EXPECT_EQ(mainWindow->close(), closing.closes);
    EXPECT_EQ(mainWindow->isVisible(), !closing.closes);
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Сохранить файл перед выходом?")});
    EXPECT_EQ(dialogs.proposedNames.size(), closing.chosen ? 1 : 0); // the save dialog was shown
    EXPECT_EQ(dialogs.failures, saves && !closing.closes ? QStringList{"Invalid filename"} : QStringList());
    if (saves && closing.closes)
        expected << QString::fromUtf8(closing.chosen) + QStringLiteral(".veltra");
    expected.sort();
    EXPECT_EQ(folderEntries(), expected);
    // The settings are written only when the window does close.
    EXPECT_EQ(QFileInfo::exists(settingsPath()), closing.closes);
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseQuestion,
                         ::testing::Values(CloseCase{"YesAndAName", Dialogs::Answer::Yes, "last", true},
                                           CloseCase{"YesAndCancel", Dialogs::Answer::Yes, "", true},
                                           CloseCase{"YesAndAFailingSave", Dialogs::Answer::Yes,
                                                     "missing/last", false},
                                           CloseCase{"No", Dialogs::Answer::No, nullptr, true},
                                           CloseCase{"Cancel", Dialogs::Answer::Cancel, nullptr, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
