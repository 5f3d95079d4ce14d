// A composition file opened in a real headless LibreOffice Calc and saved back as CSV, as a user
// does who edits it there, loads as the same composition.
#include "export/LibreOfficeProfile.h"
#include "storage/CompositionFile.h"
#include "storage/StorageTestSupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

namespace {

// Semicolon, double quote, UTF-8, from line 1: the format of the program's composition files.
const QString kCsvFilter = QStringLiteral("Text - txt - csv (StarCalc):59,34,76,1");

TEST(CompositionInCalc, SavedBackAsCsvLoadsTheSameComposition) {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString profile = folder.filePath(QStringLiteral("profile"));
    exporting::seedOfficeProfile(profile, QStringLiteral("ru-RU"));

    batch::GlassCompositionSheet sheet;
    sheet.rows = {{"SiO2", "72", "SiO2", "", "5", ""},
                  {"Na2O", "14,5", "Na2B4O7·10H2O", "98", "", "3"},
                  {"CaO", "0,000001", "CaCO3", "99,999999999", "", ""},
                  {"", "", "", "", "", ""},
                  {"a;b", "\"x\"", "line\nbreak", "", "", ""},
                  // Text that Calc would run as a formula stays text there, and comes back as it was.
                  {"=1+1", "-5", "'=2+2", "@SUM(1)", "+x", "'"}};
    sheet.molePercent = true;
    sheet.glassMass = QStringLiteral("1000");
    sheet.cullet = QStringLiteral("20");
    const QString original = folder.filePath(QStringLiteral("glass.csv"));
    storage::writeCompositionFile(original, sheet);

    // The office runs in a session of its own, so that every process it starts ends with it.
    QProcess office;
    office.setChildProcessModifier([] { ::setsid(); });
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(
        QStringLiteral("soffice"),
        {QStringLiteral("--headless"), QStringLiteral("--norestore"),
         QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(QUrl::FullyEncoded),
         QStringLiteral("--infilter=") + kCsvFilter, QStringLiteral("--convert-to"),
         QStringLiteral("csv:") + kCsvFilter, QStringLiteral("--outdir"),
         folder.filePath(QStringLiteral("calc")), original});
    ASSERT_TRUE(office.waitForStarted(10000));
    const pid_t session = static_cast<pid_t>(office.processId());
    ASSERT_GT(session, 0);
    const bool finished = office.waitForFinished(120000);
    const QByteArray output = office.readAll();
    ::kill(-session, SIGKILL); // whatever of it is left, finished or not
    office.waitForFinished(5000);
    ASSERT_TRUE(finished) << "LibreOffice did not finish";

    const QByteArray saved = storage_test::readBytes(folder.filePath(QStringLiteral("calc/glass.csv")));
    ASSERT_NE(saved, storage_test::readBytes(original)) << output.toStdString();
    ASSERT_TRUE(saved.startsWith("\"Содержание\";\"мольные %\";;;;")) << saved.toStdString();
    int unendedLine = -1;
    const batch::GlassCompositionSheet loaded = storage::parseCompositionFile(saved, &unendedLine);
    EXPECT_EQ(loaded.rows, sheet.rows);
    EXPECT_EQ(loaded.molePercent, sheet.molePercent);
    EXPECT_EQ(loaded.glassMass, sheet.glassMass);
    EXPECT_EQ(loaded.cullet, sheet.cullet);
    EXPECT_EQ(unendedLine, 0);
}

} // namespace
