#include "storage/CalculationFile.h"

#include "batch/Failure.h"
#include "storage/AtomicFile.h"
#include "storage/IoError.h"
#include "storage/WholeNumber.h"
#include "storage/Windows1251.h"

#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace storage {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Counts are tokens between blanks, cells are whole lines, and the end of the text reads as
// zero or as an empty cell, never as an error, so that a file cut short still loads.
class BlockReader {
public:
    explicit BlockReader(QStringView text) : text_(text) {}

    int readCount() {
        while (pos_ < text_.size() && text_[pos_].unicode() <= 0x20)
            ++pos_;
        if (pos_ == text_.size())
            return 0;
        const qsizetype start = pos_;
        while (pos_ < text_.size() && text_[pos_].unicode() > 0x20)
            ++pos_;
        const QStringView token = text_.sliced(start, pos_ - start);
        while (pos_ < text_.size() && text_[pos_] != u'\n')
            ++pos_;
        if (pos_ < text_.size())
            ++pos_;
        const auto value = parseWholeNumber(token);
        if (!value)
            throw batch::Failure(kInvalidNumericInput);
        return *value;
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    qsizetype remaining() const { return text_.size() - pos_; }

    QString readCell() {
        if (atEnd())
            return {};
        const qsizetype lineFeed = text_.indexOf(u'\n', pos_);
        const qsizetype end = lineFeed < 0 ? text_.size() : lineFeed;
        QStringView line = text_.sliced(pos_, end - pos_);
        pos_ = lineFeed < 0 ? text_.size() : lineFeed + 1;
        if (lineFeed >= 0 && line.endsWith(u'\r'))
            line.chop(1);
        return line.toString();
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

CalculationBlock readBlock(BlockReader& reader) {
    CalculationBlock block;
    const int columns = reader.readCount();
    if (columns > kMaxCalculationColumns)
        throw batch::Failure(kInvalidNumericInput);
    block.columns = std::max(1, columns);
    const int rows = reader.readCount();
    if (rows > kMaxCalculationRows)
        throw batch::Failure(kInvalidNumericInput);
    block.rows = std::max(1, rows);
    const qint64 total = qint64(block.columns) * block.rows;
    // Only lines really present are held, so a short file with large counts stays small; every
    // cell but the last takes at least its line end.
    block.cells.reserve(std::min<qint64>(total, reader.remaining() + 1));
    for (qint64 i = 0; i < total && !reader.atEnd(); ++i)
        block.cells.append(reader.readCell());
    return block;
}

std::unique_ptr<batch::TextGrid> makeGrid(const CalculationBlock& block) {
    auto grid = std::make_unique<batch::TextGrid>(block.columns, block.rows);
    // Backwards, so that each column is sized by its last cell at once.
    for (qsizetype i = block.cells.size(); i-- > 0;)
        if (!block.cells[i].isEmpty())
            grid->setCell(static_cast<int>(i / block.rows), static_cast<int>(i % block.rows), block.cells[i]);
    return grid;
}

void appendBlock(QString& text, const batch::TextGrid& grid) {
    text += QString::number(grid.columnCount()) + kLineEnd;
    text += QString::number(grid.rowCount()) + kLineEnd;
    for (int c = 0; c < grid.columnCount(); ++c)
        for (int r = 0; r < grid.rowCount(); ++r) {
            text += grid.cell(c, r);
            text += kLineEnd;
        }
}

// Names the cell so that the user can find the character the file cannot take.
[[noreturn]] void failOnUnencodable(const batch::TextGrid& batchTable, const batch::TextGrid& fractionTable) {
    const std::pair<const batch::TextGrid*, QString> tables[] = {
        {&batchTable, QStringLiteral("Расчет навесок")},
        {&fractionTable, QStringLiteral("Перевод массовых и мольных долей")}};
    for (const auto& [grid, caption] : tables)
        for (int c = 0; c < grid->columnCount(); ++c)
            for (int r = 0; r < grid->rowCount(); ++r)
                if (const auto bad = findUnencodable(grid->cell(c, r)))
                    throw batch::Failure(unencodableMessage(
                        bad->codePoint, QStringLiteral("в таблице «%1» (столбец %2, строка %3)")
                                            .arg(caption)
                                            .arg(c + 1)
                                            .arg(r + 1)));
    throw batch::Failure(unencodableMessage(0xFFFD));
}

} // namespace

QString CalculationBlock::cell(int column, int row) const {
    if (column < 0 || row < 0 || column >= columns || row >= rows)
        return {};
    const qint64 index = qint64(column) * rows + row;
    return index < cells.size() ? cells[index] : QString();
}

int CalculationBlock::substanceCount() const {
    int count = 0;
    for (int r = 1; r < rows && r < cells.size(); ++r)
        if (!cells[r].isEmpty())
            ++count;
    return count;
}

CalculationShortfall CalculationContents::shortfall() const {
    CalculationShortfall result;
    for (const CalculationBlock* block : {&batch, &fraction}) {
        const qint64 cells = qint64(block->columns) * block->rows;
        result.declaredCells += cells;
        result.missingCells += cells - block->cells.size();
    }
    return result;
}

QString earlyEndMessage(const QString& path, const CalculationShortfall& shortfall) {
    return QStringLiteral("Файл %1 закончился раньше, чем ожидалось: из %2 ячеек таблиц в нём нет %3. "
                          "Недостающие ячейки оставлены пустыми; проверьте таблицы, прежде чем "
                          "сохранять расчёт под тем же именем.")
        .arg(QFileInfo(path).fileName())
        .arg(shortfall.declaredCells)
        .arg(shortfall.missingCells);
}

CalculationContents parseCalculationFile(QStringView text) {
    BlockReader reader(text);
    CalculationContents contents;
    contents.batch = readBlock(reader);
    contents.fraction = readBlock(reader);
    return contents;
}

QByteArray formatCalculationFile(const batch::TextGrid& batchTable, const batch::TextGrid& fractionTable) {
    QString text;
    text.reserve(qsizetype(batchTable.columnCount()) * batchTable.rowCount() * 8 +
                 qsizetype(fractionTable.columnCount()) * fractionTable.rowCount() * 8 + 32);
    appendBlock(text, batchTable);
    appendBlock(text, fractionTable);
    auto bytes = tryEncodeWindows1251(text);
    if (!bytes)
        failOnUnencodable(batchTable, fractionTable);
    return *std::move(bytes);
}

void WriteCalculationFile(const QString& path, const batch::TextGrid& batchTable,
                          const batch::TextGrid& fractionTable) {
    const QByteArray bytes = formatCalculationFile(batchTable, fractionTable);
    replaceFileOrFail(path, bytes);
}

bool ReadCalculationFile(const QString& path, batch::TextGrid& batchTable, batch::TextGrid& fractionTable,
                         int& batchRowCount, int& fractionRowCount, CalculationShortfall* shortfall) {
    QByteArray bytes;
    int error = 0;
    qint64 size = 0;
    switch (readWholeFile(path, bytes, error, kMaxCalculationFileBytes, &size)) {
    case ReadStatus::NotOpened:
        return false;
    case ReadStatus::TooLarge:
        throw batch::Failure(fileTooLargeMessage(path, size, kMaxCalculationFileBytes));
    case ReadStatus::Failed:
        throwIoError(error, path);
    case ReadStatus::Read:
        break;
    }
    const CalculationShortfall found =
        readCalculationBytes(bytes, batchTable, fractionTable, batchRowCount, fractionRowCount);
    if (shortfall)
        *shortfall = found;
    return true;
}

CalculationShortfall readCalculationBytes(QByteArrayView bytes, batch::TextGrid& batchTable,
                                          batch::TextGrid& fractionTable, int& batchRowCount,
                                          int& fractionRowCount) {
    const CalculationContents contents = parseCalculationFile(decodeWindows1251(bytes));
    const auto batchGrid = makeGrid(contents.batch);
    const auto fractionGrid = makeGrid(contents.fraction);
    batchTable.assign(std::move(*batchGrid));
    fractionTable.assign(std::move(*fractionGrid));
    batchRowCount = contents.batch.substanceCount();
    fractionRowCount = contents.fraction.substanceCount();
    return contents.shortfall();
}

} // namespace storage
