#include "storage/ProfileText.h"

#include "storage/WholeNumber.h"
#include "storage/Windows1251.h"

#include <algorithm>
#include <array>

namespace storage {

namespace {

const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");
const QString kLineEnd = QStringLiteral("\r\n");

QStringView sectionName(QStringView trimmed) {
    QStringView name = trimmed.sliced(1);
    const qsizetype close = name.indexOf(u']');
    if (close >= 0)
        name = name.first(close);
    return name.trimmed();
}

// Every byte of Windows-1251 is one character: lines are decoded one at a time through this
// table, only where a name must be compared, so that a large file is never decoded whole.
const std::array<QChar, 256>& characterOfByte() {
    static const std::array<QChar, 256> table = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString text = decodeWindows1251(all);
        std::array<QChar, 256> characters{};
        for (int b = 0; b < 256; ++b)
            characters[static_cast<size_t>(b)] = text.at(b);
        return characters;
    }();
    return table;
}

bool holdsLineBreak(QStringView text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

} // namespace

ProfileText::ProfileText(QByteArray bytes) : bytes_(std::move(bytes)) {
    splitLines();
}

void ProfileText::splitLines() {
    lines_.clear();
    sectionLines_.clear();
    // An editor's UTF-8 signature belongs to no line: the first section must still be found.
    qsizetype pos = bytes_.startsWith(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (pos < bytes_.size()) {
        const qsizetype lineFeed = bytes_.indexOf('\n', pos);
        if (lineFeed < 0) {
            lines_.push_back({pos, bytes_.size() - pos, 0});
        } else {
            const bool crlf = lineFeed > pos && bytes_[lineFeed - 1] == '\r';
            lines_.push_back({pos, lineFeed - pos - (crlf ? 1 : 0), crlf ? 2 : 1});
        }
        if (isSectionLine(lines_.size() - 1))
            sectionLines_.push_back(lines_.size() - 1);
        if (lineFeed < 0)
            break;
        pos = lineFeed + 1;
    }
}

QString ProfileText::contentOf(size_t i) const {
    const std::array<QChar, 256>& characters = characterOfByte();
    QString text(lines_[i].length, Qt::Uninitialized);
    const char* bytes = bytes_.constData() + lines_[i].start;
    for (qsizetype k = 0; k < lines_[i].length; ++k)
        text[k] = characters[static_cast<uchar>(bytes[k])];
    return text;
}

bool ProfileText::isSectionLine(size_t i) const {
    const std::array<QChar, 256>& characters = characterOfByte();
    const char* bytes = bytes_.constData() + lines_[i].start;
    for (qsizetype k = 0; k < lines_[i].length; ++k) {
        const QChar c = characters[static_cast<uchar>(bytes[k])];
        if (!c.isSpace())
            return c == u'[';
    }
    return false;
}

ProfileText::Place ProfileText::find(QStringView section, QStringView key) const {
    Place place;
    for (size_t s = 0; s < sectionLines_.size() && !place.section; ++s) {
        const size_t header = sectionLines_[s];
        if (sectionName(QStringView(contentOf(header)).trimmed()).compare(section, Qt::CaseInsensitive) != 0)
            continue;
        place.section = header;
        place.lastContent = header;
        const size_t end = s + 1 < sectionLines_.size() ? sectionLines_[s + 1] : lines_.size();
        for (size_t i = header + 1; i < end; ++i) {
            const QString text = contentOf(i);
            const QStringView content = text;
            if (!content.trimmed().isEmpty())
                place.lastContent = i;
            const qsizetype equals = content.indexOf(u'=');
            if (!place.entry && equals >= 0 &&
                content.first(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
                place.entry = i;
        }
    }
    return place;
}

void ProfileText::insertLine(size_t i, Line line, qsizetype shift) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(i), line);
    for (size_t k = i + 1; k < lines_.size(); ++k)
        lines_[k].start += shift;
    for (size_t& header : sectionLines_)
        if (header >= i)
            ++header;
    if (isSectionLine(i))
        sectionLines_.insert(std::lower_bound(sectionLines_.begin(), sectionLines_.end(), i), i);
}

QString ProfileText::readString(QStringView section, QStringView key, const QString& defaultValue) const {
    const Place place = find(section, key);
    if (!place.entry)
        return defaultValue;
    const QString text = contentOf(*place.entry);
    const QStringView content = text;
    QStringView value = content.sliced(content.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value.toString();
}

int ProfileText::readInteger(QStringView section, QStringView key, int defaultValue) const {
    const auto value = parseWholeNumber(readString(section, key, QString()));
    return value ? *value : defaultValue;
}

void ProfileText::splice(qsizetype at, qsizetype removed, const QString& inserted) {
    // Checked by the caller, so these are the text's own bytes, one per character.
    bytes_.replace(at, removed, encodeWindows1251(inserted));
}

bool ProfileText::writeString(QStringView section, QStringView key, QStringView value) {
    // A line break would split the entry into lines that read back as something else.
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value) || key.contains(u'='))
        return false;
    const QString sectionLine = u'[' + section.toString() + u']';
    const QString entry = key.toString() + u'=' + value.toString();
    // Both are checked before anything changes.
    (void)encodeWindows1251(sectionLine);
    (void)encodeWindows1251(entry);

    const Place place = find(section, key);
    const qsizetype entryLength = entry.size();
    if (place.entry) {
        // The key's line takes the entry; the lines after it move by the change in length.
        Line& line = lines_[*place.entry];
        const QString inserted = line.endLength == 0 ? entry + kLineEnd : entry;
        splice(line.start, line.length, inserted);
        const qsizetype shift = entryLength - line.length;
        line.length = entryLength;
        if (line.endLength == 0)
            line.endLength = 2;
        for (size_t k = *place.entry + 1; k < lines_.size(); ++k)
            lines_[k].start += shift;
        if (isSectionLine(*place.entry))
            sectionLines_.insert(std::lower_bound(sectionLines_.begin(), sectionLines_.end(), *place.entry),
                                 *place.entry);
    } else if (place.section) {
        // A new last entry of the section, before its trailing blank lines.
        Line& line = lines_[place.lastContent];
        const size_t after = place.lastContent + 1;
        if (line.endLength == 0) {
            splice(line.start + line.length, 0, kLineEnd + entry + kLineEnd);
            line.endLength = 2;
            insertLine(after, {line.start + line.length + 2, entryLength, 2}, 0);
        } else {
            const qsizetype at = line.start + line.length + line.endLength;
            splice(at, 0, entry + kLineEnd);
            insertLine(after, {at, entryLength, 2}, entryLength + 2);
        }
    } else {
        // A new section at the end of the file.
        if (!lines_.empty() && lines_.back().endLength == 0) {
            splice(bytes_.size(), 0, kLineEnd);
            lines_.back().endLength = 2;
        }
        const qsizetype at = bytes_.size();
        splice(at, 0, sectionLine + kLineEnd + entry + kLineEnd);
        insertLine(lines_.size(), {at, sectionLine.size(), 2}, 0);
        insertLine(lines_.size(), {at + sectionLine.size() + 2, entryLength, 2}, 0);
    }
    return true;
}

} // namespace storage
