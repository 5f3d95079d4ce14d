#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/NumberText.h"
#include "export/SpreadsheetExport.h"
#include "export/WordProcessorExport.h"

#include <FailureOf.h>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef VELTRONA_OFFICE_PLUGIN
#include "TestOffice.h"

namespace {

using exporting::LibreOfficeClient;
using exporting::OfficeSession;

// One office for the whole suite, as a user's office stays running between exports.
class LibreOfficeExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() { office = new TestOffice; }
    static void TearDownTestSuite() {
        delete office;
        office = nullptr;
    }

    // The batch table after "Расчёт навесок" of SiO2 75 % and Na2O 25 % at 100 g.
    static void computeBatch(batch::TextGrid& table) {
        batch::setDecimalSeparator(QLatin1Char(','));
        batch::TextGrid summary;
        batch::setupBatchTable(table);
        batch::setupBatchSummary(summary);
        batch::addSubstanceRow(table, {"SiO2", "60,0848", "75", "100"});
        batch::addSubstanceRow(table, {"Na2O", "61,97894", "25", "100"});
        ASSERT_EQ(batch::calculateBatchWeights(table, summary, 2), QString());
    }

    static TestOffice* office;
};

TestOffice* LibreOfficeExport::office = nullptr;

TEST_F(LibreOfficeExport, SpreadsheetHoldsEveryCellAsTypedUnderARussianOffice) {
    batch::TextGrid table;
    computeBatch(table);
    ASSERT_EQ(table.cell(4, 1), QStringLiteral("74,4135"));
    for (const bool wrap : {true, false}) {
        LibreOfficeClient client(office->settings());
        client.keepLastSession(true);
        bool started = false;
        exporting::exportToSpreadsheet(client, table, wrap, [&] { started = true; });
        EXPECT_TRUE(started);
        const std::shared_ptr<OfficeSession> session = client.lastSession();
        ASSERT_TRUE(session);
        for (int c = 0; c < table.columnCount(); ++c)
            for (int r = 0; r < table.rowCount(); ++r) {
                const QString text = table.cell(c, r);
                const OfficeSession::Cell cell = session->cell(0, r, c);
                batch::Extended number = 0;
                const OfficeSession::Cell::Type expected = text.isEmpty() ? OfficeSession::Cell::Empty
                                                           : batch::tryTextToNumber(text, number)
                                                               ? OfficeSession::Cell::Number
                                                               : OfficeSession::Cell::Text;
                EXPECT_EQ(cell.text, text) << c << "," << r;
                EXPECT_EQ(cell.type, expected) << text.toStdString();
                if (expected == OfficeSession::Cell::Number) {
                    EXPECT_DOUBLE_EQ(cell.value, static_cast<double>(number)) << text.toStdString();
                }
            }
        // The wrap goes to the selection of the new sheet, its first cell.
        EXPECT_EQ(session->cell(0, 0, 0).wrapped, wrap);
        session->closeDocument();
    }
}

TEST_F(LibreOfficeExport, TextDocumentHoldsOneEmbeddedPictureOfItsPixelSize) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Screenshot08.12.2026_7.05.01.bmp"));
    QImage panel(362, 693, QImage::Format_RGB888);
    panel.fill(Qt::white);
    for (int y = 0; y < panel.height(); y += 20)
        for (int x = 0; x < panel.width(); ++x)
            panel.setPixelColor(x, y, Qt::darkBlue);
    ASSERT_TRUE(panel.save(path, "BMP"));

    LibreOfficeClient client(office->settings());
    client.keepLastSession(true);
    ASSERT_TRUE(exporting::exportToWordProcessor(client, path));
    const OfficeSession::Pictures pictures = client.lastSession()->pictures();
    EXPECT_EQ(pictures.count, 1);
    EXPECT_FALSE(pictures.firstLinked);
    EXPECT_EQ(pictures.widthPixels, 362);
    EXPECT_EQ(pictures.heightPixels, 693);
    client.lastSession()->closeDocument();
}

// Without the office or its plugin, or with an office that never answers, starting fails with a
// text that says why.
TEST_F(LibreOfficeExport, MissingOfficeOrPluginIsAStartFailure) {
    exporting::LibreOfficeSettings noOffice = office->settings();
    noOffice.pipe += QStringLiteral("-nobody");
    noOffice.program = QStringLiteral("/nonexistent/soffice");
    exporting::LibreOfficeSettings silent = office->settings();
    silent.pipe += QStringLiteral("-silent");
    silent.program = QStringLiteral("/bin/true"); // starts and ends without ever listening
    silent.startTimeoutMs = 300;
    exporting::LibreOfficeSettings noPlugin = office->settings();
    noPlugin.plugin = QStringLiteral("/nonexistent/libveltrona_libreoffice.so");
    batch::TextGrid table;
    computeBatch(table);
    const std::pair<exporting::LibreOfficeSettings, const char*> cases[] = {
        {noOffice, "LibreOffice не установлен: программа «/nonexistent/soffice» не найдена, ProgID: "
                   "\"Excel.Application\""},
        {silent, "LibreOffice не ответил за 1 с после запуска, ProgID: \"Excel.Application\""},
        {noPlugin, "Модуль связи с LibreOffice не загружен (/nonexistent/libveltrona_libreoffice.so)"},
    };
    for (const auto& [settings, message] : cases) {
        LibreOfficeClient client(settings);
        const QString failure = failureOf([&] { exporting::exportToSpreadsheet(client, table, false); });
        EXPECT_TRUE(failure.startsWith(QString::fromUtf8(message))) << failure.toStdString();
        EXPECT_FALSE(exporting::exportToWordProcessor(client, QStringLiteral("/tmp/none.bmp")));
    }
}

} // namespace

#else
TEST(LibreOfficeExport, NeedsTheOfficePlugin) {
    GTEST_SKIP() << "the LibreOffice SDK was not installed at build time";
}
#endif
