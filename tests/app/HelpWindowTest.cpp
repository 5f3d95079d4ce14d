#include "MainWindowFixture.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

namespace {

const QString kMissing = QStringLiteral("Файл справки не найден: ");
const QString kNotOpened =
    QStringLiteral("Не удалось открыть справку в браузере. Откройте этот файл вручную: ");

bool createFile(const QString& path) {
    return QDir().mkpath(QFileInfo(path).path()) && QFile(path).open(QIODevice::WriteOnly);
}

// Runs the test in a folder of its own as current directory.
class HelpTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QDir::setCurrent(current.path()));
    }
    void TearDown() override {
        QDir::setCurrent(startDirectory);
        MainWindowTest::TearDown();
    }
    void pressF1() {
        mainWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow.get()));
        QTest::keyClick(mainWindow->formulaEdit, Qt::Key_F1); // the key works with the focus anywhere
    }

    const QString startDirectory = QDir::currentPath();
    QTemporaryDir current;
    const QString besideProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/help/index.html");
    const QString besideCurrent = current.filePath(QStringLiteral("help/index.html"));
};

} // namespace

TEST_F(HelpTest, MenuToolbarAndF1OpenTheGuideBesideTheCurrentDirectoryFirstThenBesideTheProgram) {
    // Only this test puts a guide beside the program (the test program), and takes it away again.
    QDir besideProgramFolder(QFileInfo(besideProgram).path());
    besideProgramFolder.removeRecursively();
    const auto cleanUp = qScopeGuard([&] { besideProgramFolder.removeRecursively(); });

    // No guide anywhere: nothing goes to the desktop, the message names where it belongs.
    run("N6");
    EXPECT_TRUE(openedUrls.isEmpty());
    EXPECT_EQ(dialogs.messages, QStringList{kMissing + besideProgram});

    ASSERT_TRUE(createFile(besideProgram));
    run("ToolButton8");
    pressF1();
    ASSERT_TRUE(createFile(besideCurrent));
    run("N6");
    run("ToolButton8");
    pressF1();

    const QList<QUrl> expected = {QUrl::fromLocalFile(besideProgram), QUrl::fromLocalFile(besideProgram),
                                  QUrl::fromLocalFile(besideCurrent), QUrl::fromLocalFile(besideCurrent),
                                  QUrl::fromLocalFile(besideCurrent)};
    EXPECT_EQ(openedUrls, expected);
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.failures.isEmpty());
}

TEST_F(HelpTest, DesktopThatCannotBeAskedGivesThePathToOpenByHand) {
    ASSERT_TRUE(createFile(besideCurrent));
    mainWindow->openUrl = [](const QUrl&) { return false; };
    run("ToolButton8");
    EXPECT_EQ(dialogs.messages, QStringList{kNotOpened + besideCurrent});
}

// The real opener: a stand-in for xdg-open on PATH answers as the desktop would.
TEST_F(HelpTest, DesktopOpenerReportingFailureGivesThePathToOpenByHand) {
    ASSERT_TRUE(createFile(besideCurrent));
    QTemporaryDir bin;
    const QString handed = bin.filePath(QStringLiteral("handed"));
    const auto installOpener = [&](int exitCode) {
        QFile script(bin.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\nexit %2\n")
                         .arg(handed)
                         .arg(exitCode)
                         .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    };
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ':' + path);

    // A window of its own keeps the opener it was built with.
    MainWindow own(dialogs);
    own.attachWindows(settingsWindow.get(), {}, {});
    QAction* help = own.findChild<QAction*>(QStringLiteral("N6"));
    ASSERT_NE(help, nullptr);

    installOpener(0);
    help->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return bytesOf(handed).count('\n') == 1; }, 5000));
    QTest::qWait(100);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    installOpener(3); // xdg-open: "a required tool could not be found"
    help->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.isEmpty(); }, 5000));
    qputenv("PATH", path);
    EXPECT_EQ(bytesOf(handed), (besideCurrent + u'\n' + besideCurrent + u'\n').toUtf8());
    EXPECT_EQ(dialogs.messages, QStringList{kNotOpened + besideCurrent});
}
