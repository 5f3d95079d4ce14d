#include "FailureOf.h"
#include "StorageTestSupport.h"

#include "batch/Failure.h"
#include "storage/ProfileFile.h"
#include "storage/SettingsKeys.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <functional>

using storage::ProfileFile;
using namespace storage_test;

namespace {

// Written by hand, the way people do: comments, other sections, a section name in other case,
// a bare LF, blank lines and a last line without a line end.
const QByteArray kHandWritten = "; written by hand\r\n"
                                "[Other]\r\n"
                                "Form1Color=5\r\n"
                                "\r\n"
                                "[form]\r\n"
                                "unknown=abc\r\n"
                                "FORM1COLOR=123\r\n"
                                "; a comment inside\r\n"
                                "Checkbox1=0\n"
                                "\r\n"
                                "  \r\n"
                                "[Last]\r\n"
                                "x=1";

class ProfileFileTest : public ::testing::Test {
protected:
    QString pathOf(const QString& name) const { return folder.filePath(name); }
    QTemporaryDir folder;
};

TEST_F(ProfileFileTest, WritingChangesOnlyTheOneEntry) {
    struct Case {
        const char* what;
        std::function<void(ProfileFile&)> write;
        QByteArray expected;
    };
    QByteArray replaced = kHandWritten;
    replaced.replace("FORM1COLOR=123\r\n", "Form1Color=-16777201\r\n");
    QByteArray added = kHandWritten;
    added.replace("Checkbox1=0\n", "Checkbox1=0\npanel3Color=7\r\n");
    const Case cases[] = {
        {"key in other case is replaced in its own section",
         [](ProfileFile& p) { p.writeInteger("Form", "Form1Color", storage::kSystemFaceColour); }, replaced},
        {"new key goes after the section's last entry, before its blank lines",
         [](ProfileFile& p) { p.writeString("FORM", "panel3Color", "7"); }, added},
        {"new key in the last section, which has no line end",
         [](ProfileFile& p) { p.writeString("Last", "y", "2"); }, kHandWritten + "\r\ny=2\r\n"},
        {"new section at the end", [](ProfileFile& p) { p.writeString("New", "k", "v"); },
         kHandWritten + "\r\n[New]\r\nk=v\r\n"},
        {"last line replaced gains its line end", [](ProfileFile& p) { p.writeString("last", "X", "3"); },
         kHandWritten.chopped(3) + "X=3\r\n"},
    };
    const QString path = pathOf("Settings.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path, kHandWritten);
        ProfileFile profile(path);
        c.write(profile);
        EXPECT_EQ(readBytes(path), c.expected);
    }
    EXPECT_EQ(entriesOf(folder.path()), QStringList{"Settings.ini"});
}

TEST_F(ProfileFileTest, ReadsTheFirstMatchOfItsOwnSection) {
    const QString path = pathOf("Settings.ini");
    writeBytes(path, kHandWritten);
    const ProfileFile profile(path);
    EXPECT_EQ(profile.readString("FORM", "form1color", "d"), "123");
    EXPECT_EQ(profile.readString("Other", "Form1Color", "d"), "5");
    EXPECT_EQ(profile.readString("Form", "Checkbox1", "d"), "0");
    EXPECT_EQ(profile.readString("Form", "x", "d"), "d");
    EXPECT_EQ(profile.readString("Missing", "Form1Color", "d"), "d");
    EXPECT_EQ(profile.readInteger("Form", "unknown", -1), -1);
}

TEST_F(ProfileFileTest, ReadsWholeNumbersOrGivesTheDefault) {
    const QString path = pathOf("Settings.ini");
    writeBytes(path, "[Form]\r\nhex=0xFF\r\ndec=255\r\ndollar=$ff\r\nneg=-16777201\r\nabc=abc\r\nempty=\r\n"
                     "spaced= 42 \r\nbig=2147483648\r\nflag=2\r\nquoted=\"12\"\r\nhalf=5x\r\n");
    const ProfileFile profile(path);
    const std::pair<const char*, int> cases[] = {
        {"hex", 255},   {"dec", 255}, {"dollar", 255}, {"neg", -16777201}, {"abc", -1},     {"empty", -1},
        {"spaced", 42}, {"big", -1},  {"flag", 2},     {"quoted", 12},     {"missing", -1}, {"half", -1},
    };
    for (const auto& [key, expected] : cases) {
        SCOPED_TRACE(key);
        EXPECT_EQ(profile.readInteger("Form", key, -1), expected);
    }
}

TEST_F(ProfileFileTest, NothingToReadGivesDefaults) {
    for (const QString& path : {pathOf("missing.ini"), pathOf("no/folder/Settings.ini"), folder.path()}) {
        SCOPED_TRACE(path.toStdString());
        const ProfileFile profile(path);
        EXPECT_EQ(profile.readInteger("Form", "Form1Color", 17), 17);
        EXPECT_EQ(profile.readString("Form", "Form1Color", "d"), "d");
    }
    EXPECT_EQ(entriesOf(folder.path()), QStringList()) << "reading creates nothing";
}

TEST_F(ProfileFileTest, FirstCloseCreatesTheSettingsFile) {
    const QString path = pathOf("Settings.ini");
    ProfileFile profile(path);
    EXPECT_FALSE(QFile::exists(path)) << "making the object touches no file";
    for (const QString& key : storage::colourKeys())
        profile.writeInteger(storage::kSettingsSection, key, storage::kSystemFaceColour);
    for (int i = 0; i < 6; ++i)
        profile.writeString(storage::kSettingsSection, storage::flagKeys()[i],
                            storage::kInitialFlags[i] ? "1" : "0");

    QByteArray expected = "[Form]\r\n";
    for (const char* key :
         {"Form1Color", "panel3Color", "GroupBox11Color", "GroupBox3Color", "panel2Color", "GroupBox1Color",
          "GroupBox9Color", "GroupBox2Color", "GroupBox6Color", "panel7Color"})
        expected += QByteArray(key) + "=-16777201\r\n";
    expected += "Checkbox1=1\r\nCheckbox2=0\r\nCheckbox3=1\r\nCheckbox4=0\r\nCheckbox5=0\r\nCheckbox6=1\r\n";
    EXPECT_EQ(readBytes(path), expected);
}

TEST_F(ProfileFileTest, KeepsCyrillicInWindows1251) {
    const QString path = pathOf("Settings.ini");
    ProfileFile profile(path);
    profile.writeString("Форма", "Имя", "Щёлочь №1");
    EXPECT_EQ(readBytes(path), cp1251("[Форма]\r\nИмя=Щёлочь №1\r\n"));
    EXPECT_EQ(profile.readString("ФОРМА", "имя", "d"), "Щёлочь №1");
}

TEST_F(ProfileFileTest, FailedWriteNamesTheFullPathAndKeepsTheFile) {
    const QString guarded = pathOf("guarded.ini");
    writeBytes(guarded, kHandWritten);
    Immutable immutable(guarded);
    ASSERT_TRUE(immutable.active()) << "this file system does not take the immutable attribute";

    const QString relative = QStringLiteral("no-such-folder-here/Settings.ini");
    const std::pair<QString, QString> cases[] = {
        {pathOf("Data/Settings.ini"), pathOf("Data/Settings.ini")},
        {relative, QDir::current().absoluteFilePath(relative)},
        {folder.path(), folder.path()},
        {guarded, guarded},
    };
    for (const auto& [path, shown] : cases) {
        SCOPED_TRACE(path.toStdString());
        ProfileFile profile(path);
        EXPECT_EQ(failureOf([&] { profile.writeInteger("Form", "Form1Color", 1); }),
                  "Unable to write to " + shown);
    }
    EXPECT_EQ(readBytes(guarded), kHandWritten);
}

TEST_F(ProfileFileTest, RefusesWhatTheFileCannotHold) {
    const QString path = pathOf("Settings.ini");
    writeBytes(path, kHandWritten);
    ProfileFile profile(path);
    EXPECT_TRUE(failureOf([&] { profile.writeString("Form", "k", "α"); }).contains("U+03B1"));
    EXPECT_EQ(failureOf([&] { profile.writeString("Form", "k", "a\r\nb=c"); }), "Unable to write to " + path);
    EXPECT_EQ(readBytes(path), kHandWritten);
}

} // namespace
