// The settings of the main window: Settings.ini read at the first show and written at close, the
// window colour, the settings window's check boxes and the toolbar ticks.
#include "MainWindowFixture.h"

#include "app/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QToolButton>
#include <functional>
#include <signal.h>
#include <sys/resource.h>

namespace {

// The sixteen entries in the order they are written, spelled as the file spells them.
const QStringList kKeys{
    QStringLiteral("Form1Color"),     QStringLiteral("panel3Color"),    QStringLiteral("GroupBox11Color"),
    QStringLiteral("GroupBox3Color"), QStringLiteral("panel2Color"),    QStringLiteral("GroupBox1Color"),
    QStringLiteral("GroupBox9Color"), QStringLiteral("GroupBox2Color"), QStringLiteral("GroupBox6Color"),
    QStringLiteral("panel7Color"),    QStringLiteral("Checkbox1"),      QStringLiteral("Checkbox2"),
    QStringLiteral("Checkbox3"),      QStringLiteral("Checkbox4"),      QStringLiteral("Checkbox5"),
    QStringLiteral("Checkbox6")};

// The button face system colour that every coloured control has until the user chooses one.
constexpr const char* kFaceColour = "-16777201";

// The settings file as a close writes it into a file that did not exist: the section line, then
// one "key=value" line per entry, every line ending in CR LF.
QByteArray settingsFile(const QStringList& values, qsizetype entries = 16) {
    QByteArray bytes = "[Form]\r\n";
    for (qsizetype i = 0; i < entries; ++i)
        bytes += kKeys[i].toLatin1() + '=' + values[i].toLatin1() + "\r\n";
    return bytes;
}

QStringList valuesWithColour(const QString& colour) {
    QStringList values;
    for (int i = 0; i < 10; ++i)
        values << colour;
    return values << QStringLiteral("1") << QStringLiteral("0") << QStringLiteral("1") << QStringLiteral("0")
                  << QStringLiteral("0") << QStringLiteral("1");
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

class SettingsWindowTest : public MainWindowTest {
protected:
    // Starts the program afresh on a settings file written by hand.
    void startWith(const QByteArray& bytes) {
        destroyWindows();
        QFile file(settingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        createWindows();
    }

    void closeAnsweringNo() {
        dialogs.answers.push_back(Dialogs::Answer::No);
        EXPECT_TRUE(form1->close());
    }

    std::array<QCheckBox*, 6> checkBoxes() const {
        return {form2->CheckBox1, form2->CheckBox2, form2->CheckBox3,
                form2->CheckBox4, form2->CheckBox5, form2->CheckBox6};
    }

    std::vector<bool> ticks() const {
        std::vector<bool> states;
        for (QCheckBox* box : checkBoxes())
            states.push_back(box->isChecked());
        return states;
    }

    std::vector<QColor> shownColours() const {
        std::vector<QColor> colours;
        for (QWidget* control : form1->colourSet())
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

    QAction* action(const char* name) {
        QAction* found = form1->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

// One refresh period plus room for a busy machine.
constexpr qint64 kWithinARefresh = 100 + 60;

TEST_F(SettingsWindowTest, TheFirstCloseWritesEverySettingAsItStands) {
    ASSERT_FALSE(QFileInfo::exists(settingsPath()));
    EXPECT_EQ(shownColours(), std::vector<QColor>(10, faceColour()));
    closeAnsweringNo();
    EXPECT_EQ(bytesOf(settingsPath()), settingsFile(valuesWithColour(QString::fromLatin1(kFaceColour))));
    EXPECT_TRUE(dialogs.failures.isEmpty());

    // Every close writes the file again, also when nothing changed.
    ASSERT_TRUE(QFile::remove(settingsPath()));
    destroyWindows();
    createWindows();
    closeAnsweringNo();
    EXPECT_EQ(bytesOf(settingsPath()), settingsFile(valuesWithColour(QString::fromLatin1(kFaceColour))));
}

TEST_F(SettingsWindowTest, ACheckBoxReachesTheTablesAtOnceAndSurvivesARestart) {
    form1->findChild<QAction*>(QStringLiteral("N10"))->trigger(); // "Расчет" opens the settings window
    ASSERT_TRUE(form2->isVisible());
    refresh();
    ASSERT_TRUE(form1->StringGrid1->editing());
    form2->CheckBox1->click();
    form2->CheckBox4->click();
    EXPECT_LE(millisecondsUntil([this] {
                  return !form1->StringGrid1->editing() && !form1->StringGrid2->editing() &&
                         form1->StringGrid1->colSizing() && form1->StringGrid2->colSizing();
              }),
              kWithinARefresh);

    restart();
    EXPECT_EQ(ticks(), (std::vector<bool>{false, false, true, true, false, true}));
    refresh();
    EXPECT_FALSE(form1->StringGrid1->editing());
    EXPECT_TRUE(form1->StringGrid2->colSizing());
    closeAnsweringNo();
    QStringList values = valuesWithColour(QString::fromLatin1(kFaceColour));
    values[10] = QStringLiteral("0");
    values[13] = QStringLiteral("1");
    EXPECT_EQ(bytesOf(settingsPath()), settingsFile(values));
}

TEST_F(SettingsWindowTest, AChosenColourColoursTheTenControlsAndSurvivesARestart) {
    const QColor chosen(10, 20, 200);
    dialogs.colours = {std::nullopt, chosen, std::nullopt};
    QAction* colourCommand = action("N8");
    colourCommand->trigger(); // cancelled: nothing changes
    EXPECT_EQ(shownColours(), std::vector<QColor>(10, faceColour()));
    colourCommand->trigger();
    EXPECT_EQ(shownColours(), std::vector<QColor>(10, chosen));
    colourCommand->trigger();
    // White at first, then the colour chosen last; a cancel chose nothing.
    EXPECT_EQ(dialogs.initialColours, (QList<QColor>{Qt::white, Qt::white, chosen}));
    EXPECT_FALSE(QFileInfo::exists(settingsPath())); // nothing is written before the close

    restart();
    const QString value = QString::number(10 + 256 * 20 + 65536 * 200);
    EXPECT_EQ(bytesOf(settingsPath()), settingsFile(valuesWithColour(value)));
    EXPECT_EQ(shownColours(), std::vector<QColor>(10, chosen));

    // The dialog remembers within one run only.
    dialogs.initialColours.clear();
    action("N8")->trigger();
    EXPECT_EQ(dialogs.initialColours, QList<QColor>{Qt::white});
}

struct HandWritten {
    const char* name;
    const char* file;
    std::vector<QColor> colours; // of the window colour set, after the first show
    std::vector<bool> ticks;
    const char* written; // what the close writes back, in the order of the entries
};

void PrintTo(const HandWritten& handWritten, std::ostream* out) {
    *out << handWritten.name;
}

class HandWrittenSettings : public SettingsWindowTest, public ::testing::WithParamInterface<HandWritten> {};

TEST_P(HandWrittenSettings, AreReadAsWholeNumbersWithTheirDefaults) {
    const HandWritten& given = GetParam();
    startWith(given.file);
    std::vector<QColor> expected = given.colours;
    for (QColor& colour : expected)
        if (!colour.isValid())
            colour = faceColour();
    EXPECT_EQ(shownColours(), expected);
    EXPECT_EQ(ticks(), given.ticks);

    QFile::remove(settingsPath());
    closeAnsweringNo();
    EXPECT_EQ(bytesOf(settingsPath()),
              settingsFile(QString::fromLatin1(given.written).split(QLatin1Char(' '))));
}

const QColor kRed(255, 0, 0);
const QColor kFace; // stands for the palette's button face

INSTANTIATE_TEST_SUITE_P(
    Values, HandWrittenSettings,
    ::testing::Values(
        HandWritten{"HexadecimalAndDecimalRed",
                    "[Form]\r\nForm1Color=0xFF\r\npanel3Color=255\r\nGroupBox11Color=$FF\r\n"
                    "GroupBox3Color=0XfF\r\npanel2Color= 255 \r\n",
                    {kRed, kRed, kRed, kRed, kRed, kFace, kFace, kFace, kFace, kFace},
                    {true, false, true, false, false, true},
                    "255 255 255 255 255 -16777201 -16777201 -16777201 -16777201 -16777201 1 0 1 0 0 1"},
        HandWritten{"ValuesThatAreNoColourKeepTheFace",
                    "[Form]\r\nForm1Color=abc\r\npanel3Color=\r\nGroupBox11Color=12.5\r\n"
                    "GroupBox3Color=4294967295\r\npanel2Color=-16777201\r\npanel7Color=65280\r\n",
                    {kFace, kFace, kFace, kFace, kFace, kFace, kFace, kFace, kFace, QColor(0, 255, 0)},
                    {true, false, true, false, false, true},
                    "-16777201 -16777201 -16777201 -16777201 -16777201 -16777201 -16777201 -16777201 "
                    "-16777201 65280 1 0 1 0 0 1"},
        HandWritten{
            "FlagsAreTickedWhenNotZero",
            "[Form]\r\nCheckbox1=0\r\nCheckbox2=2\r\ncheckbox4=$10\r\nCHECKBOX5=-1\r\nCheckbox6=0\r\n",
            std::vector<QColor>(10, kFace),
            {false, true, true, true, true, false},
            "-16777201 -16777201 -16777201 -16777201 -16777201 -16777201 -16777201 -16777201 "
            "-16777201 -16777201 0 1 1 1 1 0"},
        HandWritten{"FlagsThatAreNoNumberLeaveTheCheckBoxes",
                    "[Form]\r\nCheckbox1=abc\r\nCheckbox2=abc\r\nCheckbox3=\r\nCheckbox6=yes\r\n",
                    std::vector<QColor>(10, kFace),
                    {true, false, true, false, false, true},
                    "-16777201 -16777201 -16777201 -16777201 -16777201 -16777201 -16777201 -16777201 "
                    "-16777201 -16777201 1 0 1 0 0 1"},
        HandWritten{"OtherSectionsAreNotRead",
                    "[Other]\r\nForm1Color=255\r\nCheckbox2=1\r\n",
                    std::vector<QColor>(10, kFace),
                    {true, false, true, false, false, true},
                    "-16777201 -16777201 -16777201 -16777201 -16777201 -16777201 -16777201 -16777201 "
                    "-16777201 -16777201 1 0 1 0 0 1"}),
    [](const ::testing::TestParamInfo<HandWritten>& info) { return std::string(info.param.name); });

TEST_F(SettingsWindowTest, ToolbarTicksHideTheirButtonsAndAreNotKept) {
    refresh();
    QToolButton* save = control<QToolButton>("ToolButton2");
    ASSERT_TRUE(save->isVisible());
    action("N33")->trigger();
    EXPECT_FALSE(action("N33")->isChecked());
    EXPECT_LE(millisecondsUntil([save] { return !save->isVisible(); }), kWithinARefresh);
    EXPECT_TRUE(control("ToolButton1")->isVisible());

    restart();
    refresh();
    EXPECT_TRUE(action("N33")->isChecked());
    EXPECT_TRUE(control("ToolButton2")->isVisible());
    EXPECT_EQ(bytesOf(settingsPath()), settingsFile(valuesWithColour(QString::fromLatin1(kFaceColour))));
}

struct Unwritable {
    const char* name;
    std::function<void(const QString&)> breakFolder; // gets the test folder
};

void PrintTo(const Unwritable& unwritable, std::ostream* out) {
    *out << unwritable.name;
}

class UnwritableSettings : public SettingsWindowTest, public ::testing::WithParamInterface<Unwritable> {};

TEST_P(UnwritableSettings, ShowTheFailureOnceAndTheProgramStillCloses) {
    GetParam().breakFolder(folder.path());
    closeAnsweringNo();
    EXPECT_FALSE(form1->isVisible());
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("Unable to write to ") +
                                            QFileInfo(settingsPath()).absoluteFilePath()});
    EXPECT_FALSE(QFileInfo(settingsPath()).isFile());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, UnwritableSettings,
    ::testing::Values(Unwritable{"DataMissing",
                                 [](const QString& dir) {
                                     ASSERT_TRUE(QDir(dir).rmdir(QStringLiteral("Data")));
                                 }},
                      Unwritable{"DataIsAFile",
                                 [](const QString& dir) {
                                     ASSERT_TRUE(QDir(dir).rmdir(QStringLiteral("Data")));
                                     QFile file(dir + QStringLiteral("/Data"));
                                     ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                                 }},
                      Unwritable{"SettingsIsAFolder",
                                 [](const QString& dir) {
                                     ASSERT_TRUE(QDir(dir).mkpath(QStringLiteral("Data/Settings.ini")));
                                 }}),
    [](const ::testing::TestParamInfo<Unwritable>& info) { return std::string(info.param.name); });

rlimit gUnlimitedSize{};

// The first write past the size limit fails and lifts the limit, so that every later write would
// succeed: the failure is one entry's only.
extern "C" void liftSizeLimit(int) {
    setrlimit(RLIMIT_FSIZE, &gUnlimitedSize);
}

// A write that fails in the middle of the sequence: what was written before stays, and the
// entries after the failing one are not written although they could be.
TEST_F(SettingsWindowTest, AWriteThatFailsMidwayLeavesTheEntriesAfterItUnwritten) {
    const QByteArray firstThree = settingsFile(valuesWithColour(QString::fromLatin1(kFaceColour)), 3);
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &gUnlimitedSize), 0);
    rlimit limited = gUnlimitedSize;
    limited.rlim_cur = static_cast<rlim_t>(firstThree.size());
    struct sigaction lift {};
    lift.sa_handler = liftSizeLimit;
    sigemptyset(&lift.sa_mask);
    struct sigaction previousAction {};
    ASSERT_EQ(sigaction(SIGXFSZ, &lift, &previousAction), 0);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    dialogs.answers.push_back(Dialogs::Answer::No);
    const bool closed = form1->close();
    setrlimit(RLIMIT_FSIZE, &gUnlimitedSize);
    sigaction(SIGXFSZ, &previousAction, nullptr);

    EXPECT_TRUE(closed);
    EXPECT_EQ(bytesOf(settingsPath()), firstThree);
    EXPECT_EQ(dialogs.failures, QStringList{QStringLiteral("Unable to write to ") +
                                            QFileInfo(settingsPath()).absoluteFilePath()});
}

} // namespace
