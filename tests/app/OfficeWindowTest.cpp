#include "MainWindowFixture.h"
#include "app/OfficeProgress.h"
#include "export/ScreenshotFileName.h"

#include <QLabel>
#include <QTimer>
#include <RecordingAutomation.h>
#include <chrono>
#include <unistd.h>

#ifdef VELTRONA_OFFICE_PLUGIN
#include "export/TestOffice.h"
#endif

namespace {

using namespace std::chrono_literals;

const QString kPreviousExportWaits = QStringLiteral(
    "Предыдущий экспорт не закончен: LibreOffice не отвечает. Новый экспорт не начат; повторите его, когда "
    "LibreOffice снова заработает.");
const QString kNotAnswering = QStringLiteral("LibreOffice не отвечает…");

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
        mainWindow->officeClient = [this] {
            office = std::make_unique<RecordingAutomation>();
            office->startFailure = startFailure;
            office->blockingCall = blockingCall;
            office->onStart = [this] { picturesAtStart = screenshots(); };
            return std::make_unique<ClientOfTest>(*office);
        };
    }
    void TearDown() override {
        watcher.reset();
        OfficeProgress::setSilenceLimit(30s);
        exporting::setScreenshotProgramFolder(QString());
        MainWindowTest::TearDown();
    }

    // Runs `step` from inside the export window's own event loop once `ready` holds.
    void whileExporting(const std::function<bool()>& ready, const std::function<void()>& step) {
        watcher = std::make_unique<QTimer>();
        watcher->setInterval(10);
        QObject::connect(watcher.get(), &QTimer::timeout, [this, ready, step] {
            if (!ready())
                return;
            watcher->stop();
            step();
        });
        watcher->start();
    }

    QLabel* progressText() const {
        return mainWindow->findChild<QLabel*>(QStringLiteral("OfficeProgressText"));
    }
    QPushButton* cancelButton() const {
        return mainWindow->findChild<QPushButton*>(QStringLiteral("OfficeProgressCancel"));
    }
    // What the export window says, every text it has shown in turn.
    QStringList progressTexts;
    void followProgress() {
        if (QLabel* text = progressText();
            text && (progressTexts.isEmpty() || progressTexts.last() != text->text()))
            progressTexts << text->text();
    }

    // True once the office has answered the start and then been silent for the limit.
    bool silentAfterStart() {
        followProgress();
        return progressTexts.contains(QStringLiteral("Экспорт данных…")) &&
               progressTexts.last() == kNotAnswering;
    }

    static bool waitForAbandonedExport() {
        return QTest::qWaitFor([] { return !OfficeProgress::abandonedExportWaiting(); }, 120000);
    }

    QStringList screenshots() const {
        return QDir(folder.filePath(QStringLiteral("Saves/Screenshots"))).entryList(QDir::Files);
    }

    QStringList calls() const { return office ? office->calls : QStringList(); }

    QString startFailure;
    QString blockingCall;
    QStringList picturesAtStart;
    std::unique_ptr<QTimer> watcher;
    std::unique_ptr<RecordingAutomation> office; // the one of the last export
};

TEST_F(OfficeWindowTest, EachSpreadsheetCommandExportsItsTableAndConfirms) {
    fillBatch({{"1. SiO2", "75"}, {"9. Na2O", "25"}});
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
        EXPECT_EQ(QImage(picture).size(), mainWindow->tablePanel->size()) << command;
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

// "Отмена" leaves an export whose office has stopped answering: the program goes on at once, says
// nothing of the export, and starts no other export, not even the picture of the Writer export,
// while that one still waits. When the office answers, the export given up ends at its next call,
// and exports run again.
TEST_F(OfficeWindowTest, CancelLeavesASilentOfficeAndNoNewExportStartsWhileItWaits) {
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Saves/Screenshots")));
    fillBatch({{"1. SiO2", "75"}, {"9. Na2O", "25"}});
    OfficeProgress::setSilenceLimit(1s);
    blockingCall = QStringLiteral("Cells(3, 1) = Na2O");
    whileExporting([this] { return silentAfterStart(); },
                   [this] {
                       EXPECT_TRUE(cancelButton()->isVisible() && cancelButton()->isEnabled());
                       QTest::mouseClick(cancelButton(), Qt::LeftButton);
                   });
    run("Button117");
    EXPECT_TRUE(silentAfterStart());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
    RecordingAutomation* silent = office.get();
    EXPECT_TRUE(silent->waiting);
    EXPECT_TRUE(OfficeProgress::abandonedExportWaiting());

    for (const char* command : {"Button118", "N40", "Cj1"})
        run(command);
    EXPECT_EQ(dialogs.messages, QStringList(3, kPreviousExportWaits));
    EXPECT_EQ(office.get(), silent); // no other client was asked for
    EXPECT_TRUE(screenshots().isEmpty());

    silent->gate->open();
    ASSERT_TRUE(waitForAbandonedExport());
    EXPECT_EQ(silent->calls.last(), blockingCall);

    dialogs.messages.clear();
    blockingCall.clear();
    run("Button117");
    EXPECT_EQ(dialogs.messages, QStringList{"Данные экспортированы!"});
}

// The window says "Запуск LibreOffice…" while the office starts, and that it does not answer once
// it has been silent for the limit; Escape gives the export up as "Отмена" does. A Writer export
// given up says nothing, and its picture stays written.
TEST_F(OfficeWindowTest, AnOfficeSilentAtItsStartIsSaidNotToAnswerAndEscapeLeavesIt) {
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Saves/Screenshots")));
    OfficeProgress::setSilenceLimit(300ms);
    blockingCall = QStringLiteral("start Word.Application");
    whileExporting(
        [this] {
            followProgress();
            return !progressTexts.isEmpty() && progressTexts.last() == kNotAnswering;
        },
        [this] { QTest::keyClick(cancelButton()->window(), Qt::Key_Escape); });
    run("Cj1");
    EXPECT_EQ(progressTexts, (QStringList{"Запуск LibreOffice…", kNotAnswering}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.failures.isEmpty());
    EXPECT_EQ(screenshots().size(), 1);
    office->gate->open();
    ASSERT_TRUE(waitForAbandonedExport());
    EXPECT_EQ(office->calls, QStringList{"start Word.Application"});
}

#ifdef VELTRONA_OFFICE_PLUGIN

// The real office, stopped with SIGSTOP once it has answered the start of Calc.
class StoppingClient : public exporting::LibreOfficeClient {
public:
    StoppingClient(TestOffice& office, int signal)
        : exporting::LibreOfficeClient(office.settings()), office_(office), signal_(signal) {}
    std::unique_ptr<exporting::SpreadsheetApplication> startSpreadsheet(const QString& progId) override {
        auto application = exporting::LibreOfficeClient::startSpreadsheet(progId);
        EXPECT_GE(office_.signal(signal_), 1);
        return application;
    }

private:
    TestOffice& office_;
    int signal_;
};

// Against a real office that stops answering in the middle of the export: "Отмена" gives control
// back at once, and no other export starts. The main window then closes, writing its settings, and
// the program ends at the close of its event loop, with exit code 0, without waiting for the export
// and leaving the office stopped, not killed. Runs in a process of its own, as the program ends
// there; the office, stopped by that process, is ended here afterwards.
TEST_F(OfficeWindowTest, CancelLeavesAStoppedOfficeAndTheProgramEndsWithoutWaitingForIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // This test is run again from its start in the process of its own; the profile folder made here
    // is named to it through the environment.
    const char* const kProfile = "VELTRONA_TEST_STOPPED_OFFICE";
    std::unique_ptr<QTemporaryDir> profile;
    if (!qEnvironmentVariableIsSet(kProfile)) {
        profile = std::make_unique<QTemporaryDir>();
        qputenv(kProfile, profile->path().toUtf8());
    }
    const QString profilePath = qEnvironmentVariable(kProfile);
    TestOffice stopped(QStringLiteral("ru-RU"), QString(),
                       QStringLiteral("veltrona-test-exit-") + QFileInfo(profilePath).fileName(),
                       profilePath);
    // Started from here, the office does not hold the other process's report pipe open, which would
    // keep this test waiting for the office to end.
    ASSERT_TRUE(exporting::LibreOfficeClient(stopped.settings()).connect());
    EXPECT_EXIT(
        {
            alarm(300); // a program that hangs fails the test instead of holding it
            const auto fail = [](int code) { std::_Exit(code); };
            // Ahead of the program's own ending, which would leave no trace otherwise.
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, [this, fail] {
                const bool saved = QFile::exists(settingsPath());
                folder.remove();
                if (!saved)
                    fail(4);
            });
            mainWindow->officeClient = [&] { return std::make_unique<StoppingClient>(stopped, SIGSTOP); };
            OfficeProgress::setSilenceLimit(500ms);
            fillBatch({{"1. SiO2", "75"}, {"9. Na2O", "25"}});
            whileExporting([this] { return silentAfterStart(); },
                           [this] { QTest::mouseClick(cancelButton(), Qt::LeftButton); });
            run("Button117");
            if (!dialogs.messages.isEmpty() || !OfficeProgress::abandonedExportWaiting() ||
                !stopped.stopped())
                fail(2);
            run("Button117");
            if (dialogs.messages != QStringList{kPreviousExportWaits})
                fail(3);
            // As the program does: its event loop ends once the main window has closed.
            QFile::remove(settingsPath());
            QObject::connect(
                mainWindow.get(), &MainWindow::closed, qApp, [] { QCoreApplication::exit(0); },
                Qt::QueuedConnection);
            dialogs.answers.push_back(Dialogs::Answer::No);
            QTimer::singleShot(0, mainWindow.get(), [this] { mainWindow->close(); });
            QApplication::exec();
            std::exit(5); // not reached: the program ends at the close of its event loop
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(stopped.stopped());
    // The office is left with a request of a process that is gone: ended at once rather than asked to.
    stopped.signal(SIGKILL);
    qunsetenv(kProfile);
}

#endif

} // namespace
