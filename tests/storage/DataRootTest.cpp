// The data root: beside the program where it can write there, otherwise the user's own root, made
// and seeded at start; and what the user sees when the user's root cannot be written.
#include "storage/DataRoot.h"
#include "FailureOf.h"
#include "StorageTestSupport.h"
#include "storage/ProfileFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace storage;
using namespace storage_test;

namespace {

class DataRootTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkpath("program/Data"));
        writeBytes(pathOf("program/Data/Settings.ini"), "[Form]\r\nCheckbox2=1\r\n");
        writeBytes(pathOf("program/Data/RawMaterials.csv"), "SiO2;100\r\n");
    }
    QString pathOf(const QString& name) const { return folder.filePath(name); }
    QString choose(const QString& dataHome = QString()) const {
        return chooseDataRoot({pathOf("program"), dataHome, pathOf("home")});
    }
    QString userRoot() const { return pathOf("home/.local/share/veltrona"); }

    QTemporaryDir folder;
};

TEST_F(DataRootTest, ProgramFolderWhileItsDataCanBeWrittenOtherwiseTheUsersRoot) {
    // A portable copy or a build: everything stays beside the program, whatever the environment.
    EXPECT_EQ(choose(), pathOf("program"));
    EXPECT_EQ(choose(pathOf("xdg")), pathOf("program"));
    {
        // A read-only Data/ whose Settings.ini can still be written in place.
        Immutable data(pathOf("program/Data"));
        ASSERT_TRUE(data.active()) << "the file system takes no immutable attribute";
        EXPECT_EQ(choose(), pathOf("program"));
        // Neither: an installation for the whole system.
        Immutable settings(pathOf("program/Data/Settings.ini"));
        EXPECT_EQ(choose(), userRoot());
        EXPECT_EQ(choose(pathOf("xdg")), pathOf("xdg/veltrona"));
        // $XDG_DATA_HOME must be an absolute path; a relative one is ignored.
        EXPECT_EQ(choose(QStringLiteral("relative/share")), userRoot());
    }
    // No Data/ at all, or a file in its place.
    ASSERT_TRUE(QDir(pathOf("program/Data")).removeRecursively());
    EXPECT_EQ(choose(pathOf("xdg") + "/"), pathOf("xdg/veltrona"));
    writeBytes(pathOf("program/Data"), "not a folder");
    EXPECT_EQ(choose(), userRoot());
    EXPECT_EQ(entriesOf(pathOf("program")), QStringList{"Data"}) << "choosing writes nothing";
    EXPECT_FALSE(QFileInfo::exists(pathOf("home")));
}

TEST_F(DataRootTest, UsersRootIsMadeAndGetsTheShippedFilesItLacksNeverReplacingOne) {
    // The user's own settings are there already; a read-only shipped file, a folder and a pipe too.
    ASSERT_TRUE(QDir().mkpath(userRoot() + "/Data"));
    writeBytes(userRoot() + "/Data/Settings.ini", "[Form]\r\nCheckbox2=0\r\n");
    writeBytes(pathOf("program/Data/Extra.txt"), "extra");
    ASSERT_TRUE(QFile::setPermissions(pathOf("program/Data/Extra.txt"), QFile::ReadOwner | QFile::ReadOther));
    ASSERT_TRUE(QDir().mkpath(pathOf("program/Data/folder")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pathOf("program/Data/pipe")).constData(), 0600), 0);

    EXPECT_EQ(prepareUserDataRoot(userRoot(), pathOf("program/Data")),
              (QStringList{"Extra.txt", "RawMaterials.csv"}));
    EXPECT_EQ(entriesOf(userRoot()), (QStringList{"Data", "Saves"}));
    EXPECT_EQ(entriesOf(userRoot() + "/Saves"), QStringList{"Screenshots"});
    EXPECT_EQ(entriesOf(userRoot() + "/Data"),
              (QStringList{"Extra.txt", "RawMaterials.csv", "Settings.ini"}));
    EXPECT_EQ(readBytes(userRoot() + "/Data/Settings.ini"), "[Form]\r\nCheckbox2=0\r\n");
    EXPECT_EQ(readBytes(userRoot() + "/Data/RawMaterials.csv"), "SiO2;100\r\n");
    EXPECT_TRUE(QFileInfo(userRoot() + "/Data/Extra.txt").permissions() & QFile::WriteOwner);

    // The user's changes stay; what the user removed comes back at the next start.
    writeBytes(userRoot() + "/Data/RawMaterials.csv", "mine");
    ASSERT_TRUE(QFile::remove(userRoot() + "/Data/Extra.txt"));
    EXPECT_EQ(prepareUserDataRoot(userRoot(), pathOf("program/Data")), QStringList{"Extra.txt"});
    EXPECT_EQ(readBytes(userRoot() + "/Data/RawMaterials.csv"), "mine");

    // A first start in a fresh root, shipped Settings.ini included; a program without Data/ seeds nothing.
    EXPECT_EQ(prepareUserDataRoot(pathOf("fresh"), pathOf("program/Data")),
              (QStringList{"Extra.txt", "RawMaterials.csv", "Settings.ini"}));
    EXPECT_EQ(prepareUserDataRoot(pathOf("bare"), pathOf("nowhere")), QStringList());
    EXPECT_EQ(entriesOf(pathOf("bare")), (QStringList{"Data", "Saves"}));
}

TEST_F(DataRootTest, UsersRootThatCannotBeWrittenFailsLaterWithTheSettingsMessageAndNoOtherPlace) {
    const auto settingsMessage = [](const QString& root) {
        ProfileFile settings(root + "/Data/Settings.ini");
        return failureOf([&] { settings.writeString("Form", "Checkbox1", "1"); });
    };
    // The root is a file.
    const QString file = pathOf("home/.local/share/veltrona");
    ASSERT_TRUE(QDir().mkpath(pathOf("home/.local/share")));
    writeBytes(file, "a file");
    EXPECT_EQ(prepareUserDataRoot(file, pathOf("program/Data")), QStringList());
    EXPECT_EQ(readBytes(file), "a file");
    EXPECT_EQ(settingsMessage(file), "Unable to write to " + file + "/Data/Settings.ini");

    // The root cannot be written.
    ASSERT_TRUE(QDir().mkpath(pathOf("locked")));
    {
        Immutable locked(pathOf("locked"));
        ASSERT_TRUE(locked.active());
        EXPECT_EQ(prepareUserDataRoot(pathOf("locked"), pathOf("program/Data")), QStringList());
        EXPECT_EQ(settingsMessage(pathOf("locked")),
                  "Unable to write to " + pathOf("locked/Data/Settings.ini"));
    }
    EXPECT_EQ(entriesOf(pathOf("locked")), QStringList());

    // The disk fills during the seeding (a file size limit stands in for it): no half copy is left
    // to be taken for the user's file, and the settings fail as they would anywhere.
    writeBytes(pathOf("program/Data/RawMaterials.csv"), QByteArray(64 * 1024, 'x'));
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit unlimited = limit;
    limit.rlim_cur = 4096;
    const auto handler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const QStringList copied = prepareUserDataRoot(pathOf("full"), pathOf("program/Data"));
    const QString message = [&] {
        ProfileFile settings(pathOf("full/Data/Settings.ini"));
        return failureOf([&] { settings.writeString("Form", "panel3Color", QString(8000, u'7')); });
    }();
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    ::signal(SIGXFSZ, handler);
    EXPECT_EQ(copied, QStringList{"Settings.ini"});
    EXPECT_EQ(entriesOf(pathOf("full/Data")), QStringList{"Settings.ini"});
    EXPECT_EQ(message, "Unable to write to " + pathOf("full/Data/Settings.ini"));
    EXPECT_EQ(entriesOf(folder.path()), (QStringList{"full", "home", "locked", "program"}));
}

TEST_F(DataRootTest, StartUpChoosesFromTheEnvironmentAndTheFilesFollowTheRoot) {
    int argc = 1;
    char name[] = "tests_storage";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    const QString programFolder = QCoreApplication::applicationDirPath();
    ASSERT_FALSE(QFileInfo::exists(programFolder + "/Data")) << "the test program has no Data/ beside it";
    EXPECT_EQ(dataRoot(), programFolder);
    EXPECT_EQ(settingsFilePath(), programFolder + "/Data/Settings.ini");

    const QByteArray home = qgetenv("HOME"), dataHome = qgetenv("XDG_DATA_HOME");
    const bool hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(pathOf("home")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(pathOf("xdg")));
    chooseDataRootAtStart();
    const QString set = dataRoot();
    qunsetenv("XDG_DATA_HOME");
    chooseDataRootAtStart();
    const QString unset = dataRoot();
    qputenv("HOME", home);
    if (hadDataHome)
        qputenv("XDG_DATA_HOME", dataHome);

    EXPECT_EQ(set, pathOf("xdg/veltrona"));
    EXPECT_EQ(unset, userRoot());
    EXPECT_EQ(settingsFilePath(), userRoot() + "/Data/Settings.ini");
    EXPECT_EQ(rawMaterialsFilePath(), userRoot() + "/Data/RawMaterials.csv");
    for (const QString& root : {set, unset})
        EXPECT_TRUE(QFileInfo(root + "/Saves/Screenshots").isDir() && QFileInfo(root + "/Data").isDir())
            << root.toStdString();
    setDataRoot({});
}

} // namespace
