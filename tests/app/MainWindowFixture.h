#pragma once

#include "ScriptedDialogs.h"
#include "analysis/AnalysisWindow.h"
#include "app/AboutWindow.h"
#include "app/HintFilter.h"
#include "app/MainWindow.h"
#include "app/SettingsWindow.h"
#include "app/StringGrid.h"
#include "batch/NumberText.h"
#include "storage/DataRoot.h"
#include "storage/ProfileFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

inline const QString kTooFew =
    QStringLiteral("Недостаточно веществ для расчета! Для расчёта требуется не менее 2-х!");
inline const QString kMissingInputs =
    QStringLiteral("Некорректно введены значения массовой доли и общей навески!");

struct Row {
    const char* oxide;         // item text in the oxide list
    const char* fraction;      // mole fraction, or mass percent in the fraction table
    const char* total = "100"; // total mass, batch table only
};

// The program's windows as start-up creates them, with scripted dialogs and a settings file in a
// folder of the test's own, which is also the data root (its Data/ holds the raw-materials library).
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        batch::setDecimalSeparator(QLatin1Char(','));
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Data")));
        storage::setDataRoot(folder.path());
        createWindows();
    }

    void TearDown() override {
        destroyWindows();
        storage::setDataRoot({});
    }

    // The starter library of the source tree as the program's library.
    void installStarterLibrary() const {
        const QString library = libraryPath();
        QFile::remove(library);
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELTRONA_SOURCE_DIR "/data/RawMaterials.csv"), library));
    }
    QString libraryPath() const { return folder.filePath(QStringLiteral("Data/RawMaterials.csv")); }

    void createWindows() {
        mainWindow = std::make_unique<MainWindow>(dialogs);
        mainWindow->openUrl = [this](const QUrl& url) {
            openedUrls << url;
            return true;
        };
        mainWindow->settingsFile = std::make_unique<storage::ProfileFile>(settingsPath());
        settingsWindow = std::make_unique<SettingsWindow>();
        // The About and analysis windows are made when they are first opened ("N7", "N9").
        mainWindow->attachWindows(
            settingsWindow.get(),
            [this] {
                aboutWindow = std::make_unique<AboutWindow>();
                return aboutWindow.get();
            },
            [this] {
                analysisWindow = std::make_unique<AnalysisWindow>();
                return analysisWindow.get();
            });
        hints = std::make_unique<HintFilter>(mainWindow->hintBar);
        qApp->installEventFilter(hints.get());
        mainWindow->show();
    }

    void destroyWindows() {
        hints.reset();
        analysisWindow.reset();
        aboutWindow.reset();
        settingsWindow.reset();
        mainWindow.reset();
    }

    // Closes the main window as the user would, answering the close question with No, and starts
    // the program afresh on the same settings file.
    void restart() {
        dialogs.answers.push_back(Dialogs::Answer::No);
        mainWindow->close();
        destroyWindows();
        createWindows();
    }

    QString settingsPath() const { return folder.filePath(QStringLiteral("Data/Settings.ini")); }
    QString path(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }

    template <typename T = QWidget> T* control(const char* name) {
        T* found = mainWindow->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // A button is clicked, a menu item chosen, as the user does.
    void run(const char* name) {
        const QString objectName = QString::fromLatin1(name);
        if (auto* button = mainWindow->findChild<QAbstractButton*>(objectName))
            return QTest::mouseClick(button, Qt::LeftButton);
        auto* item = mainWindow->findChild<QAction*>(objectName);
        ASSERT_NE(item, nullptr) << name;
        item->trigger();
    }

    // Presses the element key with the given caption.
    void element(const QString& symbol) {
        for (QPushButton* key : mainWindow->elementKeys)
            if (key->text() == symbol)
                return QTest::mouseClick(key, Qt::LeftButton);
        ADD_FAILURE() << "no element key " << symbol.toStdString();
    }

    // Lets the 100 ms refresh run once at least.
    static void refresh() { QTest::qWait(150); }

    void showTab(int index) {
        mainWindow->tableTabs->setCurrentIndex(index);
        mainWindow->refreshControls(); // the refresh shows the fields of the tab
    }

    QComboBox* list(int number) const { return mainWindow->catalogueLists[static_cast<size_t>(number - 1)]; }

    // Picks an item as the user would, which the program tells from a selection it makes itself.
    void pick(int number, int item) {
        list(number)->setCurrentIndex(item);
        emit list(number)->activated(item);
    }
    void pickText(int number, const char* text) {
        pick(number, list(number)->findText(QString::fromUtf8(text)));
    }

    // Picks a catalogue item and presses "Выбрать".
    void choose(const char* itemText, int list = 1) {
        pickText(list, itemText);
        run("Button114");
    }

    void fillBatch(const std::vector<Row>& rows) {
        showTab(0);
        for (const Row& row : rows) {
            choose(row.oxide);
            mainWindow->moleFractionEdit->setText(QString::fromUtf8(row.fraction));
            mainWindow->totalMassEdit->setText(QString::fromUtf8(row.total));
            run("SpeedButton4");
        }
    }

    // The mass percentages are typed into the table, as the user does.
    void fillFractions(const std::vector<Row>& rows) {
        showTab(1);
        for (const Row& row : rows) {
            choose(row.oxide);
            run("SpeedButton4");
            if (*row.fraction)
                typeCell(mainWindow->fractionGrid, 2, mainWindow->fractionRowCount,
                         QString::fromUtf8(row.fraction));
        }
    }

    static void typeCell(StringGrid* grid, int column, int row, const QString& text) {
        TextGridModel* model = grid->textModel();
        ASSERT_TRUE(model->setData(model->indexForCell(column, row), text, Qt::EditRole));
    }

    // The formula entry: formula, molar mass, mole fraction, total mass and the mass expression.
    QStringList entry() const {
        return {mainWindow->formulaEdit->text(), mainWindow->molarMassEdit->text(),
                mainWindow->moleFractionEdit->text(), mainWindow->totalMassEdit->text(),
                mainWindow->massExpression};
    }

    static QStringList cells(const batch::TextGrid& grid) {
        QStringList texts;
        for (int c = 0; c < grid.columnCount(); ++c)
            for (int r = 0; r < grid.rowCount(); ++r)
                texts << grid.cell(c, r);
        return texts;
    }

    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void writeBytes(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<SettingsWindow> settingsWindow;
    std::unique_ptr<AboutWindow> aboutWindow;
    std::unique_ptr<AnalysisWindow> analysisWindow;
    std::unique_ptr<HintFilter> hints;
    QList<QUrl> openedUrls;
};
