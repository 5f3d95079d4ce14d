// Saving, loading and starting a calculation afresh through the main window's menu and toolbar,
// and the question the window asks before it closes; real files in the test's own folder.
#include "MainWindowFixture.h"

#include <QAction>
#include <QFile>
#include <QStringEncoder>
#include <QToolButton>
#include <functional>
#include <optional>
#include <vector>

namespace {

const QString kTooFew =
    QStringLiteral("Недостаточно веществ для расчета! Для расчёта требуется не менее 2-х!");
const QString kCloseQuestion = QStringLiteral("Сохранить файл перед выходом?");

QByteArray windows1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes = encoder.encode(text);
    EXPECT_FALSE(encoder.hasError()) << text.toStdString();
    return bytes;
}

// The file a save writes while both tables hold only their headers: per table the counts 5 and 20,
// then column by column the header and nineteen empty cells; every line ends in CR LF.
QByteArray startupFile() {
    const QStringList batchHeaders{QStringLiteral("  Вещество"), QStringLiteral("Моляр.масса"),
                                   QStringLiteral("Мольн. доля"), QStringLiteral("Общ.навеска"),
                                   QStringLiteral(" Навеска, гр.")};
    const QStringList fractionHeaders{QStringLiteral("  Вещество"), QStringLiteral("Моляр.масса"),
                                      QStringLiteral("   Масс, %"), QStringLiteral("Кол-во моль"),
                                      QStringLiteral("Мольн. доля")};
    QStringList lines;
    for (const QStringList& headers : {batchHeaders, fractionHeaders}) {
        lines << QStringLiteral("5") << QStringLiteral("20");
        for (const QString& header : headers) {
            lines << header;
            for (int row = 1; row < 20; ++row)
                lines << QString();
        }
    }
    EXPECT_EQ(lines.size(), 204);
    return windows1251(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList cells(const batch::TextGrid& grid) {
    QStringList texts;
    for (int c = 0; c < grid.columnCount(); ++c)
        for (int r = 0; r < grid.rowCount(); ++r)
            texts << grid.cell(c, r);
    return texts;
}

// Everything a calculation consists of in the window, to compare before and after a command.
struct Snapshot {
    QStringList batch, fraction, batchSummary, fractionSummary;
    int batchRows, fractionRows;
    bool operator==(const Snapshot&) const = default;
};

class FilesWindowTest : public MainWindowTest {
protected:
    QString path(const QString& name) const { return folder.filePath(name); }

    // Runs a command the way the user does: a toolbar button is clicked, a menu item chosen.
    void run(const char* name) {
        const QString objectName = QString::fromLatin1(name);
        if (auto* button = form1->findChild<QToolButton*>(objectName)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
        auto* item = form1->findChild<QAction*>(objectName);
        ASSERT_NE(item, nullptr) << name;
        item->trigger();
    }

    void save(const char* command, const std::optional<QString>& name) {
        dialogs.fileNames.push_back(name);
        run(command);
    }

    void load(const char* command, const std::optional<QString>& name) {
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
        return {cells(form1->BatchTable),      cells(form1->FractionTable), cells(form1->BatchSummary),
                cells(form1->FractionSummary), form1->BatchRowCount,        form1->FractionRowCount};
    }

    void choose(const char* oxide) {
        const int item = form1->ComboBoxes[0]->findText(QString::fromUtf8(oxide));
        ASSERT_GE(item, 1) << oxide;
        pick(1, item);
        click("Button114");
    }

    // Two substances in each table, entered as the user enters them.
    void fillBothTables() {
        form1->PageControl1->setCurrentIndex(0);
        form1->Timer1Timer();
        for (const auto& [oxide, fraction] : {std::pair{"1. SiO2", "75"}, std::pair{"9. Na2O", "25"}}) {
            choose(oxide);
            form1->Edit5->setText(QString::fromLatin1(fraction));
            form1->Edit6->setText(QStringLiteral("100"));
            click("SpeedButton4");
        }
        form1->PageControl1->setCurrentIndex(1);
        form1->Timer1Timer();
        for (const auto& [oxide, percent] : {std::pair{"1. SiO2", "75"}, std::pair{"9. Na2O", "25"}}) {
            choose(oxide);
            click("SpeedButton4");
            form1->FractionTable.setCell(2, form1->FractionRowCount, QString::fromLatin1(percent));
        }
        form1->PageControl1->setCurrentIndex(0);
        form1->Timer1Timer();
        ASSERT_EQ(form1->BatchRowCount, 2);
        ASSERT_EQ(form1->FractionRowCount, 2);
    }
};

class SaveCommand : public FilesWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SaveCommand, WritesTheTablesUnderTheChosenNameWithVeltraAlwaysAppended) {
    save(GetParam(), path(QStringLiteral("calc")));
    const QByteArray written = bytesOf(path(QStringLiteral("calc.veltra")));
    EXPECT_TRUE(written.startsWith(windows1251(QStringLiteral("5\r\n20\r\n  Вещество\r\n"))));
    EXPECT_EQ(written.count("\r\n"), 204);
    EXPECT_EQ(written, startupFile());

    // A name that already ends in the extension gets it once more; the file of that name stays.
    writeBytes(path(QStringLiteral("a.veltra")), "keep\r\n");
    writeBytes(path(QStringLiteral("a.veltra.veltra")), "replaced without a question\r\n");
    save(GetParam(), path(QStringLiteral("a.veltra")));
    EXPECT_EQ(bytesOf(path(QStringLiteral("a.veltra"))), QByteArray("keep\r\n"));
    EXPECT_EQ(bytesOf(path(QStringLiteral("a.veltra.veltra"))), startupFile());

    // A cancelled dialog writes nothing at all.
    const QStringList before = folderEntries();
    save(GetParam(), std::nullopt);
    EXPECT_EQ(folderEntries(), before);

    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_FALSE(form1->BatchComputed); // saving runs no calculation
}

INSTANTIATE_TEST_SUITE_P(ToolbarAndMenu, SaveCommand, ::testing::Values("ToolButton2", "N17"));

TEST_F(FilesWindowTest, EachFileDialogProposesTheNameChosenInItLastTime) {
    const QString saved = path(QStringLiteral("first"));
    const QString opened = path(QStringLiteral("first.veltra"));
    save("N17", saved);
    save("ToolButton2", std::nullopt); // a cancel keeps the name proposed
    load("N16", opened);
    load("ToolButton1", std::nullopt);
    save("N17", std::nullopt);
    dialogs.answers.push_back(Dialogs::Answer::Yes); // the close question saves through the same dialog
    dialogs.fileNames.push_back(std::nullopt);
    EXPECT_TRUE(form1->close());
    EXPECT_EQ(dialogs.proposedNames, (QStringList{QString(), saved, QString(), opened, saved, saved}));
}

struct FailedSave {
    const char* name;
    const char* chosen;                          // in the test folder
    std::function<void(const QString&)> prepare; // gets the test folder
    std::function<void(TForm1&)> fill;
    QString message;
};

void PrintTo(const FailedSave& failed, std::ostream* out) {
    *out << failed.name;
}

class FailingSave : public FilesWindowTest, public ::testing::WithParamInterface<FailedSave> {};

TEST_P(FailingSave, ShowsTheFailureAndLeavesWhatWasOnDisk) {
    const FailedSave& failed = GetParam();
    writeBytes(path(QStringLiteral("calc.veltra")), "the calculation saved before\r\n");
    if (failed.prepare)
        failed.prepare(folder.path());
    if (failed.fill)
        failed.fill(*form1);
    const QStringList before = folderEntries();

    save("ToolButton2", path(QString::fromLatin1(failed.chosen)));
    ASSERT_EQ(dialogs.failures.size(), 1);
    EXPECT_TRUE(dialogs.failures[0].startsWith(failed.message)) << dialogs.failures[0].toStdString();
    EXPECT_EQ(folderEntries(), before); // no temporary file left behind
    EXPECT_EQ(bytesOf(path(QStringLiteral("calc.veltra"))), QByteArray("the calculation saved before\r\n"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailingSave,
    ::testing::Values(
        FailedSave{"MissingFolder", "missing/calc", {}, {}, QStringLiteral("Invalid filename")},
        FailedSave{"FolderInTheWay",
                   "folder",
                   [](const QString& dir) { ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("folder.veltra"))); },
                   {},
                   QStringLiteral("File access denied")},
        FailedSave{"CharacterOutsideWindows1251",
                   "calc",
                   {},
                   [](TForm1& form) { form.FractionTable.setCell(0, 3, QStringLiteral("Al₂O₃")); },
                   QStringLiteral("Символ «₂» (U+2082)")}),
    [](const ::testing::TestParamInfo<FailedSave>& info) { return std::string(info.param.name); });

TEST_F(FilesWindowTest, LoadRestoresEveryCellAndRecountsTheSubstances) {
    // Headers, blanks, Cyrillic: whatever the cells hold comes back as it was.
    form1->BatchTable.setCell(0, 0, QStringLiteral(" Состав шихты "));
    form1->BatchTable.setCell(0, 1, QStringLiteral("   ")); // a formula of blanks is a substance
    form1->BatchTable.setCell(2, 1, QStringLiteral(" 12,5 "));
    form1->BatchTable.setCell(4, 19, QStringLiteral("ёЁ№"));
    form1->FractionTable.setCell(3, 0, QStringLiteral("моль"));
    form1->FractionTable.setCell(2, 7, QStringLiteral("50")); // no formula: no substance
    save("N17", path(QStringLiteral("odd")));
    const QStringList savedBatch = cells(form1->BatchTable);
    const QStringList savedFractions = cells(form1->FractionTable);
    EXPECT_TRUE(bytesOf(path(QStringLiteral("odd.veltra"))).contains(QByteArray("\r\n\xB8\xA8\xB9\r\n")));

    // Different contents and counts in the window, then the load brings the file's back.
    fillBothTables();
    form1->BatchTable.setCell(0, 0, QStringLiteral("changed"));
    dialogs.messages.clear();
    load("ToolButton1", path(QStringLiteral("odd.veltra")));
    EXPECT_EQ(cells(form1->BatchTable), savedBatch);
    EXPECT_EQ(cells(form1->FractionTable), savedFractions);
    EXPECT_EQ(form1->BatchRowCount, 1);
    EXPECT_EQ(form1->FractionRowCount, 0);
    // Both calculations ran and each found too few substances.
    EXPECT_EQ(dialogs.messages, (QStringList{kTooFew, kTooFew}));
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(FilesWindowTest, LoadRecomputesTheComputedColumnsAndSummaries) {
    fillBothTables();
    click("Button112");
    form1->PageControl1->setCurrentIndex(1);
    click("Button115");
    ASSERT_TRUE(dialogs.messages.isEmpty());
    const Snapshot computed = snapshot();

    // The file carries stale results; loading it must compute them anew.
    form1->BatchTable.setCell(4, 1, QStringLiteral("999"));
    form1->FractionTable.setCell(4, 2, QStringLiteral("999"));
    save("N17", path(QStringLiteral("both")));
    run("N19");
    form1->BatchSummary.setCell(1, 0, QString());
    form1->FractionSummary.setCell(1, 1, QString());
    load("N16", path(QStringLiteral("both.veltra")));
    EXPECT_EQ(snapshot(), computed);
    EXPECT_TRUE(form1->BatchComputed);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // A file whose fraction table is empty: the batch is computed, the fraction calculation says why not.
    form1->PageControl1->setCurrentIndex(1);
    click("Button116");
    save("N17", path(QStringLiteral("batch only")));
    run("N29");
    load("N16", path(QStringLiteral("batch only.veltra")));
    EXPECT_EQ(form1->BatchRowCount, 2);
    EXPECT_EQ(form1->FractionRowCount, 0);
    EXPECT_EQ(cells(form1->BatchTable), computed.batch);
    EXPECT_EQ(dialogs.messages, QStringList{kTooFew});
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

class OpenWithoutReading : public FilesWindowTest,
                           public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(OpenWithoutReading, StillRunsBothCalculations) {
    const auto [command, chosen] = GetParam();
    fillBothTables();
    form1->BatchTable.setCell(2, 2, QString()); // the batch check fails, the fractions compute
    const QStringList batchBefore = cells(form1->BatchTable);
    const QString fractionSummaryBefore = form1->FractionSummary.cell(1, 0);
    const std::optional<QString> name =
        *chosen ? std::optional<QString>(path(QString::fromLatin1(chosen))) : std::nullopt;
    load(command, name);
    const QString missingInputs =
        QStringLiteral("Некорректно введены значения массовой доли и общей навески!");
    EXPECT_EQ(dialogs.messages, QStringList{missingInputs});
    EXPECT_TRUE(dialogs.failures.isEmpty());
    EXPECT_EQ(cells(form1->BatchTable), batchBefore);
    EXPECT_NE(form1->FractionSummary.cell(1, 0), fractionSummaryBefore); // the fractions were computed
    EXPECT_EQ(form1->BatchRowCount, 2);
    EXPECT_EQ(form1->FractionRowCount, 2);

    // The batch calculation runs first, then the fraction calculation.
    form1->PageControl1->setCurrentIndex(1);
    click("Button116");
    dialogs.messages.clear();
    load(command, name);
    EXPECT_EQ(dialogs.messages, (QStringList{missingInputs, kTooFew}));
}

INSTANTIATE_TEST_SUITE_P(CancelledOrMissing, OpenWithoutReading,
                         ::testing::Values(std::pair{"ToolButton1", ""}, std::pair{"N16", ""},
                                           std::pair{"N16", "no such file.veltra"},
                                           std::pair{"ToolButton1", "Data"}));

TEST_F(FilesWindowTest, ADamagedFileChangesNothingAndRunsNoCalculation) {
    fillBothTables();
    save("N17", path(QStringLiteral("good")));
    const QByteArray good = bytesOf(path(QStringLiteral("good.veltra")));
    const qsizetype secondBlock = good.indexOf("\r\n5\r\n20\r\n", 10) + 2;
    ASSERT_GT(secondBlock, 2);

    QByteArray otherBatch = startupFile();
    otherBatch.truncate(otherBatch.indexOf("\r\n5\r\n20\r\n", 10) + 2);
    const std::pair<const char*, QByteArray> damaged[] = {
        {"first count", QByteArray("5x\r\n") + good.mid(3)},
        {"second block", otherBatch + "5x\r\n20\r\n" + good.mid(secondBlock + 7)},
    };
    form1->BatchTable.setCell(3, 0, QStringLiteral("заголовок"));
    const Snapshot before = snapshot();
    for (const auto& [name, bytes] : damaged) {
        SCOPED_TRACE(name);
        writeBytes(path(QStringLiteral("damaged.veltra")), bytes);
        dialogs.failures.clear();
        load("ToolButton1", path(QStringLiteral("damaged.veltra")));
        EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("Invalid numeric input")});
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_EQ(snapshot(), before);
        EXPECT_FALSE(form1->BatchComputed);
    }
}

TEST_F(FilesWindowTest, NewCalculationCommandsClearTheEntryListsOneAndTwoAndBothTables) {
    const QStringList emptyBatch = cells(form1->BatchTable);
    const QStringList emptyFractions = cells(form1->FractionTable);
    for (const char* command : {"ToolButton4", "N19", "N29"}) {
        SCOPED_TRACE(command);
        fillBothTables();
        click("Button112");
        const QStringList summary = cells(form1->BatchSummary);
        ASSERT_TRUE(form1->BatchComputed);
        choose("10. CaO");
        element(QStringLiteral("H")); // a key press makes the symbol keys usable
        form1->Timer1Timer();
        click("Button119");
        ASSERT_TRUE(form1->HydrateMode);
        ASSERT_NE(form1->MassExpression, QStringLiteral("0"));
        ASSERT_TRUE(form1->btnCalc->isEnabled());
        ASSERT_TRUE(form1->SpeedButton4->isEnabled());
        form1->Edit5->setText(QStringLiteral("10"));
        form1->Edit6->setText(QStringLiteral("100"));
        for (int list = 0; list < 6; ++list)
            form1->ComboBoxes[static_cast<size_t>(list)]->setCurrentIndex(list + 1);
        dialogs.messages.clear();

        run(command);
        for (QLineEdit* field : {form1->Edit4, form1->Edit1, form1->Edit5, form1->Edit6})
            EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
        EXPECT_EQ(form1->MassExpression, QStringLiteral("0"));
        EXPECT_FALSE(form1->HydrateMode);
        EXPECT_FALSE(form1->btnCalc->isEnabled());
        EXPECT_FALSE(form1->btnClear->isEnabled());
        EXPECT_FALSE(form1->SpeedButton4->isEnabled());
        std::vector<int> lists;
        for (QComboBox* combo : form1->ComboBoxes)
            lists.push_back(combo->currentIndex());
        EXPECT_EQ(lists, (std::vector<int>{0, 0, 3, 4, 5, 6}));
        EXPECT_EQ(cells(form1->BatchTable), emptyBatch);
        EXPECT_EQ(cells(form1->FractionTable), emptyFractions);
        EXPECT_EQ(form1->BatchRowCount, 0);
        EXPECT_EQ(form1->FractionRowCount, 0);
        EXPECT_FALSE(form1->BatchComputed);
        EXPECT_EQ(cells(form1->BatchSummary), summary); // the summaries keep their lines
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_TRUE(dialogs.questions.isEmpty());
    }
    // What is left is a calculation of headers only.
    save("N17", path(QStringLiteral("new")));
    EXPECT_EQ(bytesOf(path(QStringLiteral("new.veltra"))), startupFile());
}

struct CloseCase {
    const char* name;
    Dialogs::Answer answer;
    std::optional<const char*> chosen; // the save dialog's answer, when it is shown
    bool closes;
    const char* written; // the calculation file that results, or nothing
    QStringList failures;
};

void PrintTo(const CloseCase& closing, std::ostream* out) {
    *out << closing.name;
}

class CloseQuestion : public FilesWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestion, DecidesWhetherTheWindowClosesAndWhatIsSaved) {
    const CloseCase& closing = GetParam();
    dialogs.answers.push_back(closing.answer);
    if (closing.chosen)
        dialogs.fileNames.push_back(**closing.chosen
                                        ? std::optional<QString>(path(QString::fromUtf8(*closing.chosen)))
                                        : std::nullopt);
    const QStringList before = folderEntries();

    EXPECT_EQ(form1->close(), closing.closes);
    EXPECT_EQ(form1->isVisible(), !closing.closes);
    EXPECT_EQ(dialogs.questions, QStringList{kCloseQuestion});
    EXPECT_EQ(dialogs.proposedNames.size(), closing.chosen ? 1 : 0); // the save dialog was shown
    EXPECT_EQ(dialogs.failures, closing.failures);
    QStringList expected = before;
    if (*closing.written) {
        expected << QString::fromUtf8(closing.written);
        EXPECT_EQ(bytesOf(path(QString::fromUtf8(closing.written))), startupFile());
    }
    // The settings are written only when the window does close.
    EXPECT_EQ(QFileInfo::exists(settingsPath()), closing.closes);
    expected.sort();
    EXPECT_EQ(folderEntries(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CloseQuestion,
    ::testing::Values(CloseCase{"YesAndAName", Dialogs::Answer::Yes, "last", true, "last.veltra", {}},
                      CloseCase{"YesAndCancel", Dialogs::Answer::Yes, "", true, "", {}},
                      CloseCase{"YesAndAFailingSave",
                                Dialogs::Answer::Yes,
                                "missing/last",
                                false,
                                "",
                                {QStringLiteral("Invalid filename")}},
                      CloseCase{"No", Dialogs::Answer::No, std::nullopt, true, "", {}},
                      CloseCase{"Cancel", Dialogs::Answer::Cancel, std::nullopt, false, "", {}}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

} // namespace
