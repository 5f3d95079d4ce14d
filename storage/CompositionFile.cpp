#include "storage/CompositionFile.h"

#include "batch/Failure.h"
#include "storage/AtomicFile.h"
#include "storage/CsvText.h"
#include "storage/IoError.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace storage {

namespace {

const QString kMassPercent = QStringLiteral("массовые %");
const QString kMolePercent = QStringLiteral("мольные %");
const QString kContentLabel = QStringLiteral("Содержание");
const QString kGlassMassLabel = QStringLiteral("Масса стекла, г");
const QString kCulletLabel = QStringLiteral("Стеклобой, %");

[[noreturn]] void damaged(int lineNumber, const QString& what) {
    throw batch::Failure(QStringLiteral("Файл состава повреждён: строка %1 — %2!").arg(lineNumber).arg(what));
}

struct Record {
    QStringList fields;
    int line = 1;       // where it starts in the file, from 1
    bool ended = false; // a line end follows it
};

// The lines of fields, each with the line it starts on; only the last may lack a line end.
std::vector<Record> records(const QString& text) {
    CsvRecords split = splitCsv(text);
    if (split.unclosedQuoteLine != 0)
        damaged(split.unclosedQuoteLine, QStringLiteral("кавычка не закрыта"));
    std::vector<Record> result;
    result.reserve(split.records.size());
    for (size_t i = 0; i < split.records.size(); ++i)
        result.push_back(Record{std::move(split.records[i]), split.lineNumbers[i], true});
    if (!result.empty())
        result.back().ended = split.lastRecordEnded;
    return result;
}

// A spreadsheet pads every line to the width of its widest one ("Содержание;массовые %;;;;"):
// empty fields beyond those a line has are dropped.
QStringList withoutPadding(QStringList fields, qsizetype count) {
    while (fields.size() > count && fields.back().isEmpty())
        fields.removeLast();
    return fields;
}

QString labelled(const std::vector<Record>& lines, size_t index, const QString& label) {
    if (index >= lines.size())
        damaged(static_cast<int>(index) + 1, QStringLiteral("нет строки «%1»").arg(label));
    const QStringList fields = withoutPadding(lines[index].fields, 2);
    if (fields.size() != 2 || fields[0] != label)
        damaged(lines[index].line, QStringLiteral("ожидалось «%1;…»").arg(label));
    return fields[1];
}

} // namespace

QByteArray formatCompositionFile(const batch::GlassCompositionSheet& sheet) {
    QString text;
    text += csvLine({kContentLabel, sheet.molePercent ? kMolePercent : kMassPercent});
    text += csvLine({kGlassMassLabel, sheet.glassMass});
    text += csvLine({kCulletLabel, sheet.cullet});
    QStringList headers;
    for (const char* header : batch::kCompositionHeaders)
        headers << QString::fromUtf8(header);
    text += csvLine(headers);
    for (const batch::CompositionRowText& row : sheet.rows)
        text += csvLine(QStringList(row.begin(), row.end()));
    // The mark tells a spreadsheet that the text is UTF-8.
    return QByteArray(kUtf8ByteOrderMark) + text.toUtf8();
}

batch::GlassCompositionSheet parseCompositionFile(QByteArrayView bytes, int* unendedLine) {
    QString text;
    int badLine = 0;
    if (!decodeUtf8Csv(bytes, text, badLine))
        damaged(badLine, QStringLiteral("текст не в кодировке UTF-8"));
    std::vector<Record> lines = records(text);
    // Blank lines at the end, as an editor may leave them, are no rows.
    while (!lines.empty() && lines.back().fields.join(QString()).trimmed().isEmpty())
        lines.pop_back();

    batch::GlassCompositionSheet sheet;
    const QString kind = labelled(lines, 0, kContentLabel);
    if (kind != kMassPercent && kind != kMolePercent)
        damaged(lines[0].line, QStringLiteral("ожидалось «%1» или «%2»").arg(kMassPercent, kMolePercent));
    sheet.molePercent = kind == kMolePercent;
    sheet.glassMass = labelled(lines, 1, kGlassMassLabel);
    sheet.cullet = labelled(lines, 2, kCulletLabel);
    if (lines.size() < 4)
        damaged(4, QStringLiteral("нет заголовка таблицы состава"));
    // Six columns without fixed amounts (the files of earlier versions), or seven with them.
    const QStringList header = withoutPadding(lines[3].fields, batch::kCompositionColumnsWithoutAmount);
    const qsizetype columns = header.size();
    if ((columns != batch::kCompositionColumnsWithoutAmount && columns != batch::kCompositionColumns) ||
        header[0] != QString::fromUtf8(batch::kCompositionHeaders[0]))
        damaged(lines[3].line, QStringLiteral("ожидался заголовок таблицы состава"));
    for (size_t i = 4; i < lines.size(); ++i) {
        QStringList fields = withoutPadding(lines[i].fields, columns);
        // A last row without a line end may have been cut short anywhere: it loads with the fields
        // it has, and the caller reports it.
        if (i + 1 == lines.size() && !lines[i].ended)
            while (fields.size() < columns)
                fields << QString();
        if (fields.size() != columns)
            damaged(lines[i].line, QStringLiteral("в строке состава должно быть %1 полей, а не %2")
                                       .arg(columns)
                                       .arg(fields.size()));
        if (sheet.rows.size() == batch::kCompositionRows)
            damaged(lines[i].line, QStringLiteral("больше %1 строк состава").arg(batch::kCompositionRows));
        batch::CompositionRowText row;
        std::copy(fields.begin(), fields.end(), row.begin());
        sheet.rows.push_back(row);
    }
    if (unendedLine)
        *unendedLine = lines.back().ended ? 0 : lines.back().line;
    return sheet;
}

QString unendedFileMessage(const QString& path, int line) {
    return QStringLiteral("Файл состава «%1» не заканчивается концом строки: строка %2 могла быть обрезана. "
                          "Проверьте её.")
        .arg(QFileInfo(path).fileName())
        .arg(line);
}

void writeCompositionFile(const QString& path, const batch::GlassCompositionSheet& sheet) {
    replaceFileOrFail(path, formatCompositionFile(sheet));
}

batch::GlassCompositionSheet readCompositionFile(const QString& path, int* unendedLine) {
    // A composition of at most a few dozen rows takes a few kilobytes; anything near this bound is
    // not one of ours and is refused before it is read.
    constexpr qint64 kMaxCompositionFileBytes = 1 << 20;
    QByteArray bytes;
    int error = 0;
    qint64 size = 0;
    switch (readWholeFile(path, bytes, error, kMaxCompositionFileBytes, &size)) {
    case ReadStatus::Read:
        break;
    case ReadStatus::TooLarge:
        throw batch::Failure(fileTooLargeMessage(path, size, kMaxCompositionFileBytes));
    case ReadStatus::NotOpened:
    case ReadStatus::Failed:
        throwIoError(error, path);
    }
    return parseCompositionFile(bytes, unendedLine);
}

} // namespace storage
