// The settings of the main window: Settings.ini read at the first show and written at close, the
// window colour, the settings window's check boxes and the toolbar ticks. How the settings file
// reads and writes numbers is the storage tests' business.
#include "MainWindowFixture.h"

#include "app/StringGrid.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QToolButton>
#include <functional>

namespace {

// The sixteen entries in the order they are written, spelled as the file spells them.
const char* const kKeys[] = {"Form1Color",     "panel3Color",    "GroupBox11Color", "GroupBox3Color",
                             "panel2Color",    "GroupBox1Color", "GroupBox9Color",  "GroupBox2Color",
                             "GroupBox6Color", "panel7Color",    "Checkbox1",       "Checkbox2",
                             "Checkbox3",      "Checkbox4",      "Checkbox5",       "Checkbox6"};

// The button face system colour that every coloured control has until the user chooses one.
const QString kFaceValue = QStringLiteral("-16777201");

// The settings file as a close writes it into a file that did not exist; values in entry order.
QByteArray settingsFile(const QStringList& values) {
    QByteArray bytes = "[Form]\r\n";
    for (qsizetype i = 0; i < 16; ++i)
        bytes += QByteArray(kKeys[i]) + '=' + values[i].toLatin1() + "\r\n";
    return bytes;
}

QStringList values(const QString& colour, const char* flags = "1 0 1 0 0 1") {
    return QStringList(10, colour) + QString::fromLatin1(flags).split(QLatin1Char(' '));
}

class SettingsWindowTest : public MainWindowTest {
protected:
    void closeAnsweringNo() {
        dialogs.answers.push_back(Dialogs::Answer::No);
        EXPECT_TRUE(mainWindow->close());
    }

    std::vector<bool> ticks() const {
        std::vector<bool> states;
        for (QCheckBox* box : {settingsWindow->cellEditingCheckBox, settingsWindow->rowSelectionCheckBox,
                               settingsWindow->horizontalLinesCheckBox, settingsWindow->columnSizingCheckBox,
                               settingsWindow->rowSizingCheckBox, settingsWindow->verticalLinesCheckBox})
            states.push_back(box->isChecked());
        return states;
    }

    std::vector<QColor> shownColours() const {
        std::vector<QColor> colours;
        for (QWidget* control : mainWindow->colourSet())
            colours.push_back(control->palette().color(QPalette::Window));
        return colours;
    }

    static QColor faceColour() { return QApplication::palette().color(QPalette::Button); }

    // How long the refresh takes to make `done` come true (a second at most).
    static qint64 millisecondsUntil(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 1000)
            QTest::qWait(2);
        return clock.elapsed();
    }
};

// One refresh period plus room for a busy machine.
constexpr qint64 kWithinARefresh = 100 + 60;

// Check boxes are kept in the settings file, toolbar ticks are not.
TEST_F(SettingsWindowTest, ACheckBoxAndAToolbarTickTakeEffectAtOnceAndOnlyTheBoxSurvivesARestart) {
    run("N10"); // "Расчет" opens the settings window
    ASSERT_TRUE(settingsWindow->isVisible());
    refresh();
    QToolButton* save = control<QToolButton>("ToolButton2");
    ASSERT_TRUE(save->isVisible());
    settingsWindow->cellEditingCheckBox->click();
    settingsWindow->columnSizingCheckBox->click();
    run("N33");
    EXPECT_LE(millisecondsUntil([this, save] {
                  return !mainWindow->batchGrid->editing() && !mainWindow->fractionGrid->editing() &&
                         mainWindow->batchGrid->colSizing() && mainWindow->fractionGrid->colSizing() &&
                         !save->isVisible();
              }),
              kWithinARefresh);
    EXPECT_TRUE(control("ToolButton1")->isVisible());

    restart();
    EXPECT_EQ(ticks(), (std::vector<bool>{false, false, true, true, false, true}));
    refresh();
    EXPECT_FALSE(mainWindow->batchGrid->editing());
    EXPECT_TRUE(mainWindow->fractionGrid->colSizing());
    EXPECT_TRUE(control<QAction>("N33")->isChecked());
    EXPECT_TRUE(control("ToolButton2")->isVisible());
    closeAnsweringNo();
    EXPECT_EQ(bytesOf(settingsPath()), settingsFile(values(kFaceValue, "0 0 1 1 0 1")));
}

TEST_F(SettingsWindowTest, AChosenColourColoursTheTenControlsAndSurvivesARestart) {
    const QColor chosen(10, 20, 200);
    dialogs.colours = {std::nullopt, chosen, std::nullopt};
    run("N8"); // cancelled: nothing changes
    EXPECT_EQ(shownColours(), std::vector<QColor>(10, faceColour()));
    run("N8");
    EXPECT_EQ(shownColours(), std::vector<QColor>(10, chosen));
    run("N8");
    // White at first, then the colour chosen last; a cancel chose nothing.
    EXPECT_EQ(dialogs.initialColours, (QList<QColor>{Qt::white, Qt::white, chosen}));
    EXPECT_FALSE(QFileInfo::exists(settingsPath())); // nothing is written before the close

    restart(); // the first close writes every setting as it stands
    EXPECT_EQ(bytesOf(settingsPath()), settingsFile(values(QString::number(10 + 256 * 20 + 65536 * 200))));
    EXPECT_EQ(shownColours(), std::vector<QColor>(10, chosen));
}

// Colours in hexadecimal or decimal, flags that are any whole number, flags that are no number.
TEST_F(SettingsWindowTest, AHandWrittenFileIsReadAtTheFirstShow) {
    destroyWindows();
    writeBytes(settingsPath(), "[Form]\r\nForm1Color=0xFF\r\npanel3Color=255\r\nCheckbox1=abc\r\n"
                               "Checkbox2=2\r\nCheckbox6=0\r\n");
    createWindows();
    std::vector<QColor> expected(10, faceColour());
    expected[0] = expected[1] = QColor(255, 0, 0);
    EXPECT_EQ(shownColours(), expected);
    EXPECT_EQ(ticks(), (std::vector<bool>{true, true, true, false, false, false}));

    ASSERT_TRUE(QFile::remove(settingsPath()));
    closeAnsweringNo();
    QStringList written = values(kFaceValue, "1 1 1 0 0 0");
    written[0] = written[1] = QStringLiteral("255");
    EXPECT_EQ(bytesOf(settingsPath()), settingsFile(written));
}

// The failure is shown once: the writes after the failing one are not tried.
TEST_F(SettingsWindowTest, AnUnwritableSettingsFileShowsTheFailureOnceAndTheProgramStillCloses) {
    ASSERT_TRUE(QDir(folder.path()).rmdir(QStringLiteral("Data")));
    closeAnsweringNo();
    EXPECT_FALSE(mainWindow->isVisible());
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("Unable to write to ") +
                                            QFileInfo(settingsPath()).absoluteFilePath()});
    EXPECT_FALSE(QFileInfo::exists(settingsPath()));
}

} // namespace
