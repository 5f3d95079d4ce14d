#include "storage/CsvText.h"

#include <QRegularExpression>

namespace storage {

namespace {

// A spreadsheet that opens the file takes a cell starting with "=" as a formula (some also one
// starting with "+", "-" or "@"), and runs it. Such text is written after an apostrophe, which
// keeps it text there; a text that already starts with apostrophes before such a sign gets one
// more, so that reading drops exactly the one that writing added. Numbers ("-5") stay as they are.
bool startsLikeFormula(QStringView text) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)([eE][+-]?\\d+)?\\s*$"));
    qsizetype first = 0;
    while (first < text.size() && text[first] == u'\'')
        ++first;
    if (first == text.size())
        return false;
    const QChar sign = text[first];
    if (sign != u'=' && sign != u'+' && sign != u'-' && sign != u'@')
        return false;
    return !number.match(text.sliced(first)).hasMatch();
}

QString withoutFormulaGuard(QString field) {
    if (field.startsWith(u'\'') && startsLikeFormula(QStringView(field).sliced(1)))
        field.remove(0, 1);
    return field;
}

} // namespace

QString csvField(const QString& plain) {
    const QString text = startsLikeFormula(plain) ? u'\'' + plain : plain;
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString csvLine(const QStringList& fields) {
    QStringList written;
    written.reserve(fields.size());
    for (const QString& text : fields)
        written << csvField(text);
    return written.join(u';') + QStringLiteral("\r\n");
}

CsvRecords splitCsv(const QString& text) {
    CsvRecords result;
    QStringList fields;
    QString current;
    bool quoted = false, fieldStarted = false;
    int lineNumber = 1, recordLine = 1;
    const auto endRecord = [&] {
        fields << withoutFormulaGuard(current);
        result.records.push_back(fields);
        result.lineNumbers.push_back(recordLine);
        fields.clear();
        current.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                current += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n')
                    ++lineNumber;
                current += c;
            }
        } else if (c == u'"' && !fieldStarted) {
            quoted = fieldStarted = true;
        } else if (c == u';') {
            fields << withoutFormulaGuard(current);
            current.clear();
            fieldStarted = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRecord();
            recordLine = ++lineNumber;
        } else {
            current += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        result.unclosedQuoteLine = recordLine;
        return result;
    }
    if (!current.isEmpty() || !fields.isEmpty() || fieldStarted) {
        endRecord();
        result.lastRecordEnded = false;
    }
    return result;
}

bool decodeUtf8Csv(QByteArrayView bytes, QString& text, int& badLine) {
    if (bytes.startsWith(QByteArrayView(kUtf8ByteOrderMark)))
        bytes = bytes.sliced(3);
    text = QString::fromUtf8(bytes);
    const qsizetype bad = text.indexOf(QChar::ReplacementCharacter);
    if (bad < 0)
        return true;
    badLine = static_cast<int>(QStringView(text).left(bad).count(u'\n')) + 1;
    return false;
}

} // namespace storage
