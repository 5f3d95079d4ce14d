// The windows as the program's start makes them: the main and settings windows at once, the About,
// analysis and composition windows when they are first opened.
#include "ScriptedDialogs.h"
#include "app/Application.h"
#include "app/StringGrid.h"
#include "storage/DataRoot.h"
#include "storage/ProfileFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int windowsNamed(const char* name) {
    int count = 0;
    for (const QWidget* window : QApplication::topLevelWidgets())
        count += window->objectName() == QLatin1String(name) ? 1 : 0;
    return count;
}

class ProgramWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Data")));
        storage::setDataRoot(folder.path());
    }
    void TearDown() override { storage::setDataRoot({}); }

    // The program as it starts, on a settings file of the test's own.
    std::unique_ptr<ProgramWindows> start() {
        auto windows = std::make_unique<ProgramWindows>(dialogs);
        windows->mainWindow.settingsFile =
            std::make_unique<storage::ProfileFile>(folder.filePath(QStringLiteral("Data/Settings.ini")));
        windows->mainWindow.show();
        return windows;
    }

    // Closes the main window as the user does, saving nothing.
    void close(ProgramWindows& windows) {
        bool closed = false;
        QObject::connect(&windows.mainWindow, &MainWindow::closed, [&closed] { closed = true; });
        dialogs.answers.push_back(Dialogs::Answer::No);
        windows.mainWindow.close();
        EXPECT_TRUE(closed);
        EXPECT_EQ(dialogs.questions.value(0), QStringLiteral("Сохранить файл перед выходом?"));
        dialogs.questions.clear();
    }

    static void choose(ProgramWindows& windows, const char* item) {
        auto* action = windows.mainWindow.findChild<QAction*>(QLatin1String(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
};

TEST_F(ProgramWindowsTest, AboutAnalysisAndCompositionWindowsAreMadeOnceWhenFirstOpened) {
    auto windows = start();
    EXPECT_EQ(windowsNamed("Form1"), 1);
    EXPECT_EQ(windowsNamed("Form2"), 1);
    for (const char* name : {"Form3", "Form5", "FormGlass"})
        EXPECT_EQ(windowsNamed(name), 0) << name;

    const std::pair<const char*, const char*> openers[] = {
        {"N7", "Form3"}, {"N9", "Form5"}, {"N41", "FormGlass"}};
    for (const auto& [item, name] : openers) {
        choose(*windows, item);
        choose(*windows, item);
        EXPECT_EQ(windowsNamed(name), 1) << name;
    }
    EXPECT_TRUE(windows->aboutWindow().isVisible());
    EXPECT_TRUE(windows->analysisWindow().isVisible());
    EXPECT_TRUE(windows->glassWindow().isVisible());
    EXPECT_EQ(windowsNamed("Form5"), 1);

    // The analysis window made late still reads the main window's batch: none is computed yet.
    windows->analysisWindow().calculateAction->trigger();
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Недостаточно данных для расчета!")});
    close(*windows);
    windows.reset();
    for (const char* name : {"Form1", "Form2", "Form3", "Form5", "FormGlass"})
        EXPECT_EQ(windowsNamed(name), 0) << name;
}

TEST_F(ProgramWindowsTest, SettingsWindowIsThereFromTheStartAndTheProgramClosesWithNoOtherWindowOpened) {
    auto windows = start();
    // The choice is the settings window's; the main window's refresh applies it to the tables.
    windows->settingsWindow.rowSelectionCheckBox->setChecked(true);
    QTest::qWait(150);
    EXPECT_TRUE(windows->mainWindow.batchGrid->rowSelect());
    close(*windows);
    windows.reset();

    windows = start();
    EXPECT_TRUE(windows->settingsWindow.rowSelectionCheckBox->isChecked());
    for (const char* name : {"Form3", "Form5", "FormGlass"})
        EXPECT_EQ(windowsNamed(name), 0) << name;
    close(*windows);
}

// The library window is made when the composition window first opens it. The program ends with the
// main window, so unsaved edits of the library are asked about first, and Отмена keeps it running.
TEST_F(ProgramWindowsTest, LibraryWindowIsMadeOnFirstUseAndItsEditsAreAskedAboutBeforeTheProgramEnds) {
    auto windows = start();
    choose(*windows, "N41");
    EXPECT_EQ(windowsNamed("FormMaterials"), 0);
    auto* opener = windows->glassWindow().findChild<QAbstractButton*>(QStringLiteral("GlassMaterials"));
    ASSERT_NE(opener, nullptr);
    QTest::mouseClick(opener, Qt::LeftButton);
    QTest::mouseClick(opener, Qt::LeftButton);
    EXPECT_EQ(windowsNamed("FormMaterials"), 1);
    EXPECT_TRUE(windows->materialsWindow().isVisible());
    QTest::mouseClick(windows->materialsWindow().addButton, Qt::LeftButton);

    bool closed = false;
    QObject::connect(&windows->mainWindow, &MainWindow::closed, [&closed] { closed = true; });
    dialogs.answers = {Dialogs::Answer::Cancel};
    windows->mainWindow.close();
    EXPECT_FALSE(closed);
    EXPECT_TRUE(windows->mainWindow.isVisible());
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Сохранить изменения справочника сырья?")});

    dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
    windows->mainWindow.close();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(windows->materialsWindow().isVisible());
    EXPECT_EQ(dialogs.questions,
              QStringList({"Сохранить изменения справочника сырья?", "Сохранить изменения справочника сырья?",
                           "Сохранить файл перед выходом?"}));
}

} // namespace
