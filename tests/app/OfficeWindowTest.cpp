#include "MainWindowFixture.h"
#include "export/ScreenshotFileName.h"

#include <RecordingAutomation.h>

namespace {

// The window owns its client for one command only; the record stays with the test.
class ClientOfTest : public exporting::AutomationClient {
public:
    explicit ClientOfTest(RecordingAutomation& office) : office_(office) {}
    std::unique_ptr<exporting::SpreadsheetApplication> startSpreadsheet(const QString& progId) override {
        return office_.startSpreadsheet(progId);
    }
    std::unique_ptr<exporting::WordApplication> startWordProcessor(const QString& progId) override {
        return office_.startWordProcessor(progId);
    }

private:
    RecordingAutomation& office_;
};

class OfficeWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        exporting::setScreenshotProgramFolder(folder.path());
        form1->officeClient = [this] {
            office = std::make_unique<RecordingAutomation>();
            office->startFailure = startFailure;
            office->onStart = [this] { picturesAtStart = screenshots(); };
            return std::make_unique<ClientOfTest>(*office);
        };
    }
    void TearDown() override {
        exporting::setScreenshotProgramFolder(QString());
        MainWindowTest::TearDown();
    }

    QStringList screenshots() const {
        return QDir(folder.filePath(QStringLiteral("Saves/Screenshots"))).entryList(QDir::Files);
    }

    QStringList calls() const { return office ? office->calls : QStringList(); }

    QString startFailure;
    QStringList picturesAtStart;
    std::unique_ptr<RecordingAutomation> office; // the one of the last export
};

TEST_F(OfficeWindowTest, EachSpreadsheetCommandExportsItsTableAndConfirms) {
    fillBatch({{"1. SiO2", "75"}, {"2. Na2O", "25"}});
    fillFractions({{"9. Na2O", "50"}});
    struct Case {
        const char* command;
        int tab;
        const char* firstSubstance;
        bool wraps;
    };
    const Case cases[] = {
        {"Button117", 0, "SiO2", false},
        {"Button118", 1, "Na2O", false},
        {"N40", 0, "SiO2", true},
        {"N40", 1, "Na2O", true},
    };
    for (const Case& c : cases) {
        showTab(c.tab);
        dialogs.messages.clear();
        run(c.command);
        const QStringList done = calls();
        ASSERT_GE(done.size(), 100) << c.command;
        EXPECT_EQ(done.contains(QStringLiteral("Selection.WrapText = true")), c.wraps) << c.command;
        EXPECT_TRUE(done.contains(QStringLiteral("Cells(2, 1) = ") + c.firstSubstance)) << c.command;
        EXPECT_EQ(dialogs.messages, QStringList{"Данные экспортированы!"}) << c.command;
        EXPECT_TRUE(dialogs.failures.isEmpty()) << c.command;
        office.reset();
    }
}

TEST_F(OfficeWindowTest, SpreadsheetServerMissingShowsTheFailureWithoutConfirmation) {
    startFailure = QStringLiteral("LibreOffice не установлен");
    run("Button117");
    EXPECT_EQ(dialogs.failures, QStringList{"LibreOffice не установлен, ProgID: \"Excel.Application\""});
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(OfficeWindowTest, WordExportWritesThePictureFirstAndPlacesIt) {
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Saves/Screenshots")));
    for (const char* command : {"Cj1", "ToolButton5"}) {
        QDir(folder.filePath(QStringLiteral("Saves/Screenshots"))).removeRecursively();
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Saves/Screenshots")));
        run(command);
        ASSERT_EQ(picturesAtStart.size(), 1) << command;
        const QString picture = folder.filePath(QStringLiteral("Saves/Screenshots/") + picturesAtStart[0]);
        EXPECT_TRUE(picturesAtStart[0].startsWith(QStringLiteral("Screenshot"))) << command;
        EXPECT_EQ(QImage(picture).size(), form1->Panel1->size()) << command;
        EXPECT_EQ(calls().last(),
                  "InlineShapes.AddPicture(" + picture + ", LinkToFile = false, SaveWithDocument = true)");
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_TRUE(dialogs.failures.isEmpty());
    }
}

TEST_F(OfficeWindowTest, WordMissingLeavesThePictureAndAMissingFolderStartsNothing) {
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Saves/Screenshots")));
    startFailure = QStringLiteral("soffice не найден");
    run("Cj1");
    EXPECT_EQ(dialogs.messages, QStringList{"Не могу запустить Microsoft Word"});
    EXPECT_TRUE(dialogs.failures.isEmpty());
    EXPECT_EQ(screenshots().size(), 1);

    QDir(folder.filePath(QStringLiteral("Saves"))).removeRecursively();
    dialogs.messages.clear();
    office.reset();
    run("Cj1");
    EXPECT_EQ(dialogs.failures.size(), 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(office, nullptr); // the office was never asked for
}

} // namespace
