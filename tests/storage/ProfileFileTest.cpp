#include "storage/ProfileFile.h"
#include "FailureOf.h"
#include "StorageTestSupport.h"
#include "storage/SettingsKeys.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using storage::ProfileFile;
using namespace storage_test;

namespace {

// Written by hand, the way people do: comments, other sections, a section name in other case,
// a bare LF, blank lines and a last line without a line end.
const QByteArray kHandWritten =
    "; written by hand\r\n"
    "[Other]\r\nForm1Color=5\r\n\r\n"
    "[form]\r\nunknown=abc\r\nFORM1COLOR=123\r\n; a comment inside\r\nCheckbox1=0\n\r\n  \r\n"
    "[Last]\r\nx=1";

class ProfileFileTest : public ::testing::Test {
protected:
    QString pathOf(const QString& name) const { return folder.filePath(name); }
    QTemporaryDir folder;
    const QString path = pathOf("Settings.ini");
};

TEST_F(ProfileFileTest, WritingChangesOnlyTheOneEntry) {
    QByteArray replaced = kHandWritten;
    replaced.replace("FORM1COLOR=123\r\n", "Form1Color=-7\r\n");
    QByteArray added = kHandWritten;
    added.replace("Checkbox1=0\n", "Checkbox1=0\npanel3Color=7\r\n");
    const struct {
        const char *section, *key, *value;
        QByteArray expected;
    } cases[] = {
        // A key in other case is replaced in its own section.
        {"Form", "Form1Color", "-7", replaced},
        // A new key goes after the section's last entry, before its blank lines.
        {"FORM", "panel3Color", "7", added},
        // The last section has no line end yet.
        {"Last", "y", "2", kHandWritten + "\r\ny=2\r\n"},
        {"New", "k", "v", kHandWritten + "\r\n[New]\r\nk=v\r\n"},
        {"last", "X", "3", kHandWritten.chopped(3) + "X=3\r\n"},
    };
    for (const auto& c : cases) {
        writeBytes(path, kHandWritten);
        ProfileFile(path).writeString(c.section, c.key, c.value);
        EXPECT_EQ(readBytes(path), c.expected) << c.section << " " << c.key;
    }
    EXPECT_EQ(entriesOf(folder.path()), QStringList{"Settings.ini"});
}

TEST_F(ProfileFileTest, ReadsTheFirstMatchOfItsOwnSectionOrTheDefault) {
    writeBytes(path, kHandWritten);
    const ProfileFile profile(path);
    EXPECT_EQ(profile.readString("FORM", "form1color", "d"), "123");
    EXPECT_EQ(profile.readString("Other", "Form1Color", "d"), "5");
    EXPECT_EQ(profile.readString("Form", "Checkbox1", "d"), "0");
    EXPECT_EQ(profile.readString("Form", "x", "d"), "d");
    EXPECT_EQ(profile.readString("Missing", "Form1Color", "d"), "d");
    EXPECT_EQ(profile.readInteger("Form", "unknown", -1), -1);
    for (const QString& missing : {pathOf("missing.ini"), pathOf("no/folder/Settings.ini"), folder.path()}) {
        EXPECT_EQ(ProfileFile(missing).readInteger("Form", "Form1Color", 17), 17) << missing.toStdString();
        EXPECT_EQ(ProfileFile(missing).readString("Form", "Form1Color", "d"), "d") << missing.toStdString();
    }
    EXPECT_EQ(entriesOf(folder.path()), QStringList{"Settings.ini"}) << "reading creates nothing";

    // Whole numbers in signed 32 bits; hexadecimal is taken as the bit pattern.
    const std::pair<int, QStringList> numbers[] = {
        {255, {"0xFF", "0XfF", "$ff", "255"}},
        {42, {" 42 "}},
        {12, {"\"12\""}},
        {2, {"2"}},
        {-16777201, {"-16777201", "0xFF00000F"}},
        {-16, {"-$10"}},
        {2147483647, {"2147483647"}},
        {-1, {"abc", "", "2147483648", "$100000000", "5x", "0x", "12e3"}},
    };
    for (const auto& [expected, texts] : numbers)
        for (const QString& text : texts) {
            writeBytes(path, "[Form]\r\nk=" + text.toLatin1() + "\r\n");
            EXPECT_EQ(ProfileFile(path).readInteger("Form", "k", -1), expected) << text.toStdString();
        }
}

TEST_F(ProfileFileTest, FirstCloseCreatesTheSettingsFile) {
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

    // Other text keeps to Windows-1251, and names match in any case there too.
    profile.writeString("Форма", "Имя", "Щёлочь №1");
    EXPECT_EQ(readBytes(path), expected + cp1251("[Форма]\r\nИмя=Щёлочь №1\r\n"));
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
    for (const auto& [target, shown] : cases) {
        ProfileFile profile(target);
        EXPECT_EQ(failureOf([&] { profile.writeInteger("Form", "Form1Color", 1); }),
                  "Unable to write to " + shown);
    }
    EXPECT_EQ(readBytes(guarded), kHandWritten);

    // Neither a character without a byte nor a line break may get into the file.
    writeBytes(path, kHandWritten);
    ProfileFile profile(path);
    EXPECT_TRUE(failureOf([&] { profile.writeString("Form", "k", "α"); }).contains("U+03B1"));
    EXPECT_EQ(failureOf([&] { profile.writeString("Form", "k", "a\r\nb=c"); }), "Unable to write to " + path);
    EXPECT_EQ(readBytes(path), kHandWritten);
}

} // namespace
