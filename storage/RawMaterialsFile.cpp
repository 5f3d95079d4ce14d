#include "storage/RawMaterialsFile.h"

#include <QFileInfo>

#include "batch/Failure.h"
#include "chemistry/OxideYield.h"
#include "storage/AtomicFile.h"
#include "storage/CsvText.h"
#include "storage/IoError.h"

#include <cerrno>

namespace storage {

namespace {

using chemistry::throwRawMaterialFault;

constexpr int kFixedColumns = static_cast<int>(chemistry::kRawMaterialColumns.size());

QStringList fixedColumns() {
    QStringList columns;
    for (const char* column : chemistry::kRawMaterialColumns)
        columns << QString::fromUtf8(column);
    return columns;
}

// The oxide columns of a header on the given line.
void checkOxideColumns(const QStringList& oxides, int line) {
    QSet<QString> seen;
    for (qsizetype i = 0; i < oxides.size(); ++i) {
        const QString& oxide = oxides[i];
        if (oxide.isEmpty())
            throwRawMaterialFault(
                line, QString(),
                QStringLiteral("в заголовке нет названия столбца %1").arg(kFixedColumns + i + 1));
        if (!chemistry::findGlassOxide(oxide))
            throwRawMaterialFault(line, QString(),
                                  QStringLiteral("в заголовке неизвестный оксид «%1»").arg(oxide));
        if (seen.contains(oxide))
            throwRawMaterialFault(line, QString(), QStringLiteral("оксид %1 в заголовке дважды").arg(oxide));
        seen.insert(oxide);
    }
}

bool isBlank(const QStringList& fields) {
    for (const QString& field : fields)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}

std::optional<batch::Extended> cellNumber(const QString& cell, const QString& column, int line,
                                          const QString& name) {
    return chemistry::rawMaterialNumber(cell, column, line, name);
}

QString numberText(const std::optional<batch::Extended>& value) {
    return chemistry::rawMaterialNumberText(value, u',');
}

} // namespace

chemistry::RawMaterialLibrary parseRawMaterialsFile(QByteArrayView bytes) {
    QString text;
    int badLine = 0;
    if (!decodeUtf8Csv(bytes, text, badLine))
        throwRawMaterialFault(badLine, QString(), QStringLiteral("текст не в кодировке UTF-8"));
    const CsvRecords split = splitCsv(text);
    if (split.unclosedQuoteLine != 0)
        throwRawMaterialFault(split.unclosedQuoteLine, QString(), QStringLiteral("кавычка не закрыта"));
    const std::vector<QStringList>& records = split.records;

    chemistry::RawMaterialLibrary library;
    size_t index = 0;
    while (index < records.size() && isBlank(records[index]))
        ++index;
    if (index == records.size())
        return library;

    QStringList header;
    for (const QString& field : records[index])
        header << field.trimmed();
    // A spreadsheet pads its lines with empty cells up to the widest one.
    while (!header.isEmpty() && header.back().isEmpty())
        header.removeLast();
    const QStringList fixed = fixedColumns();
    if (header.size() < kFixedColumns || header.mid(0, kFixedColumns) != fixed)
        throwRawMaterialFault(split.lineNumbers[index], QString(),
                              QStringLiteral("ожидался заголовок «%1»").arg(fixed.join(u';')));
    library.oxideColumns = header.mid(kFixedColumns);
    checkOxideColumns(library.oxideColumns, split.lineNumbers[index]);
    const qsizetype columns = header.size();

    QHash<QString, int> names;
    for (++index; index < records.size(); ++index) {
        const QStringList& fields = records[index];
        const int line = split.lineNumbers[index];
        if (isBlank(fields))
            continue;
        if (library.materials.size() == static_cast<size_t>(chemistry::kMaxRawMaterials))
            throwRawMaterialFault(
                line, QString(),
                QStringLiteral("в справочнике больше %1 материалов").arg(chemistry::kMaxRawMaterials));
        const auto cell = [&](qsizetype column) {
            return column < fields.size() ? fields[column] : QString();
        };
        chemistry::RawMaterial material;
        material.name = cell(0).trimmed();
        for (qsizetype column = columns; column < fields.size(); ++column)
            if (!fields[column].trimmed().isEmpty())
                throwRawMaterialFault(line, material.name,
                                      QStringLiteral("заполнена ячейка %1, а в заголовке %2 столбцов")
                                          .arg(column + 1)
                                          .arg(columns));
        material.formula = cell(1).trimmed();
        material.purity = cellNumber(cell(2), fixed[2], line, material.name);
        material.moisture = cellNumber(cell(3), fixed[3], line, material.name);
        material.price = cellNumber(cell(4), fixed[4], line, material.name);
        material.lossOnIgnition = cellNumber(cell(5), fixed[5], line, material.name);
        material.carbonDioxide = cellNumber(cell(6), fixed[6], line, material.name);
        for (qsizetype column = kFixedColumns; column < columns; ++column) {
            const QString& oxide = header[column];
            if (const auto percent = cellNumber(cell(column), oxide, line, material.name))
                material.analysis.push_back(chemistry::OxidePercent{oxide, *percent});
        }
        chemistry::checkRawMaterial(material, line);
        chemistry::checkUniqueRawMaterialName(material.name, line, names);
        library.materials.push_back(std::move(material));
    }
    return library;
}

QByteArray formatRawMaterialsFile(const chemistry::RawMaterialLibrary& library) {
    QStringList oxides = library.oxideColumns;
    for (const chemistry::RawMaterial& material : library.materials)
        for (const chemistry::OxidePercent& share : material.analysis)
            if (!oxides.contains(share.oxide))
                oxides << share.oxide;
    checkOxideColumns(oxides, 1);
    chemistry::checkRawMaterialLibrary(library);

    QString text = csvLine(fixedColumns() + oxides);
    for (const chemistry::RawMaterial& material : library.materials) {
        QStringList fields{material.name.trimmed(),           material.formula.trimmed(),
                           numberText(material.purity),       numberText(material.moisture),
                           numberText(material.price),        numberText(material.lossOnIgnition),
                           numberText(material.carbonDioxide)};
        for (const QString& oxide : oxides) {
            std::optional<batch::Extended> percent;
            for (const chemistry::OxidePercent& share : material.analysis)
                if (share.oxide == oxide)
                    percent = share.percent;
            fields << numberText(percent);
        }
        text += csvLine(fields);
    }
    return QByteArray(kUtf8ByteOrderMark) + text.toUtf8();
}

namespace {

enum class Missing { IsEmpty, IsFailure };

bool isPipeOrDevice(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

chemistry::RawMaterialLibrary readLibrary(const QString& path, Missing missing) {
    QByteArray bytes;
    int error = 0;
    qint64 size = 0;
    switch (readWholeFile(path, bytes, error, kMaxRawMaterialsFileBytes, &size)) {
    case ReadStatus::Read:
        return parseRawMaterialsFile(bytes);
    case ReadStatus::TooLarge:
        throw batch::Failure(fileTooLargeMessage(path, size, kMaxRawMaterialsFileBytes));
    case ReadStatus::NotOpened:
        // A pipe or a device in the file's place is never read; as for the settings, it counts as
        // no library at all.
        if (missing == Missing::IsEmpty && (error == ENOENT || isPipeOrDevice(path)))
            return chemistry::RawMaterialLibrary();
        break;
    case ReadStatus::Failed:
        break;
    }
    throwIoError(error, path);
}

} // namespace

chemistry::RawMaterialLibrary readRawMaterialLibrary(const QString& path) {
    return readLibrary(path, Missing::IsEmpty);
}

chemistry::RawMaterialLibrary readRawMaterialsFile(const QString& path) {
    return readLibrary(path, Missing::IsFailure);
}

void writeRawMaterialsFile(const QString& path, const chemistry::RawMaterialLibrary& library) {
    const QByteArray bytes = formatRawMaterialsFile(library);
    // What the reader would refuse for its size is not written either.
    if (bytes.size() > kMaxRawMaterialsFileBytes)
        throw batch::Failure(fileTooLargeMessage(path, bytes.size(), kMaxRawMaterialsFileBytes));
    replaceFileOrFail(path, bytes);
}

} // namespace storage
