#pragma once

// Text with ";" between the fields, as a spreadsheet reads and writes it: a field that holds ";",
// a quote or a line break is put in quotes, and a quote inside it is doubled. The composition
// file and the raw-materials library are written this way.

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <vector>

namespace storage {

// The field as it is written: quoted when it must be, and after an apostrophe when a spreadsheet
// would take it for a formula ("=1+1"); splitCsv drops that apostrophe again.
QString csvField(const QString& text);
// The fields joined by ";" and ended by "\r\n".
QString csvLine(const QStringList& fields);

struct CsvRecords {
    std::vector<QStringList> records;
    std::vector<int> lineNumbers; // the line (from 1) each record starts on
    // The line of a quoted field that the text leaves open, or 0; the records are then incomplete.
    int unclosedQuoteLine = 0;
    // Whether a line end follows the last record: a last line without one may have been cut.
    bool lastRecordEnded = true;
};

// Splits the text into records of fields; a quoted field may hold ";", quotes and line breaks.
CsvRecords splitCsv(const QString& text);

// The byte-order mark that tells a spreadsheet the text is UTF-8.
inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// The text of UTF-8 bytes, a leading byte-order mark dropped. Returns false with the line (from
// 1) of the first byte that is no UTF-8.
bool decodeUtf8Csv(QByteArrayView bytes, QString& text, int& badLine);

} // namespace storage
