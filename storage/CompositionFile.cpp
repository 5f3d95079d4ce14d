#include "storage/CompositionFile.h"

#include "batch/Failure.h"
#include "storage/AtomicFile.h"
#include "storage/CsvText.h"
#include "storage/IoError.h"

#include <QStringList>

namespace storage {

namespace {

const QString kMassPercent = QStringLiteral("массовые %");
const QString kMolePercent = QStringLiteral("мольные %");
const QString kContentLabel = QStringLiteral("Содержание");
const QString kGlassMassLabel = QStringLiteral("Масса стекла, г");
const QString kCulletLabel = QStringLiteral("Стеклобой, %");
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

QString line(const QStringList& fields) {
    return csvLine(fields);
}

[[noreturn]] void damaged(int lineNumber, const QString& what) {
    throw batch::Failure(QStringLiteral("Файл состава повреждён: строка %1 — %2!").arg(lineNumber).arg(what));
}

std::vector<QStringList> records(const QString& text, std::vector<int>& lineNumbers) {
    CsvRecords split = splitCsv(text);
    if (split.unclosedQuoteLine != 0)
        damaged(split.unclosedQuoteLine, QStringLiteral("кавычка не закрыта"));
    lineNumbers = std::move(split.lineNumbers);
    return std::move(split.records);
}

QString labelled(const std::vector<QStringList>& lines, const std::vector<int>& numbers, size_t index,
                 const QString& label) {
    if (index >= lines.size())
        damaged(static_cast<int>(index) + 1, QStringLiteral("нет строки «%1»").arg(label));
    const QStringList& fields = lines[index];
    if (fields.size() != 2 || fields[0] != label)
        damaged(numbers[index], QStringLiteral("ожидалось «%1;…»").arg(label));
    return fields[1];
}

} // namespace

QByteArray formatCompositionFile(const batch::GlassCompositionSheet& sheet) {
    QString text;
    text += line({kContentLabel, sheet.molePercent ? kMolePercent : kMassPercent});
    text += line({kGlassMassLabel, sheet.glassMass});
    text += line({kCulletLabel, sheet.cullet});
    QStringList headers;
    for (const char* header : batch::kCompositionHeaders)
        headers << QString::fromUtf8(header);
    text += line(headers);
    for (const batch::CompositionRowText& row : sheet.rows)
        text += line(QStringList(row.begin(), row.end()));
    // The mark tells a spreadsheet that the text is UTF-8.
    return QByteArray(kByteOrderMark) + text.toUtf8();
}

batch::GlassCompositionSheet parseCompositionFile(QByteArrayView bytes) {
    if (bytes.startsWith(QByteArrayView(kByteOrderMark)))
        bytes = bytes.sliced(3);
    const QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter))
        damaged(static_cast<int>(text.left(text.indexOf(QChar::ReplacementCharacter)).count(u'\n')) + 1,
                QStringLiteral("текст не в кодировке UTF-8"));
    std::vector<int> numbers;
    std::vector<QStringList> lines = records(text, numbers);
    // Blank lines at the end, as an editor may leave them, are no rows.
    while (!lines.empty() && lines.back().join(QString()).trimmed().isEmpty())
        lines.pop_back();

    batch::GlassCompositionSheet sheet;
    const QString kind = labelled(lines, numbers, 0, kContentLabel);
    if (kind != kMassPercent && kind != kMolePercent)
        damaged(numbers[0], QStringLiteral("ожидалось «%1» или «%2»").arg(kMassPercent, kMolePercent));
    sheet.molePercent = kind == kMolePercent;
    sheet.glassMass = labelled(lines, numbers, 1, kGlassMassLabel);
    sheet.cullet = labelled(lines, numbers, 2, kCulletLabel);
    if (lines.size() < 4)
        damaged(4, QStringLiteral("нет заголовка таблицы состава"));
    if (lines[3].size() != batch::kCompositionColumns ||
        lines[3][0] != QString::fromUtf8(batch::kCompositionHeaders[0]))
        damaged(numbers[3], QStringLiteral("ожидался заголовок таблицы состава"));
    for (size_t i = 4; i < lines.size(); ++i) {
        if (lines[i].size() != batch::kCompositionColumns)
            damaged(numbers[i], QStringLiteral("в строке состава должно быть %1 полей, а не %2")
                                    .arg(batch::kCompositionColumns)
                                    .arg(lines[i].size()));
        if (sheet.rows.size() == batch::kCompositionRows)
            damaged(numbers[i], QStringLiteral("больше %1 строк состава").arg(batch::kCompositionRows));
        batch::CompositionRowText row;
        std::copy(lines[i].begin(), lines[i].end(), row.begin());
        sheet.rows.push_back(row);
    }
    return sheet;
}

void writeCompositionFile(const QString& path, const batch::GlassCompositionSheet& sheet) {
    replaceFileOrFail(path, formatCompositionFile(sheet));
}

batch::GlassCompositionSheet readCompositionFile(const QString& path) {
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
    return parseCompositionFile(bytes);
}

} // namespace storage
