#include "storage/ProfileText.h"

#include "batch/Failure.h"
#include "storage/WholeNumber.h"
#include "storage/Windows1251.h"

#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace storage {

namespace {

const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// Whether a byte stands for a blank (a character that trimming removes).
const std::array<bool, 256>& blankOfByte() {
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> blanks{};
        for (size_t b = 0; b < 256; ++b)
            blanks[b] = windows1251Characters()[b].isSpace();
        return blanks;
    }();
    return table;
}

// The bytes of the pieces one after another. A character without a byte fails as
// encodeWindows1251 fails, naming it.
QByteArray encoded(std::initializer_list<QStringView> pieces) {
    QString text;
    for (const QStringView piece : pieces)
        text += piece;
    return encodeWindows1251(text);
}

// Bytes [begin, end) of a line.
struct Span {
    const char* begin;
    const char* end;
    qsizetype size() const { return end - begin; }
};

// Without the blanks around them.
Span trimmed(Span span) {
    const std::array<bool, 256>& blank = blankOfByte();
    while (span.begin < span.end && blank[static_cast<uchar>(*span.begin)])
        ++span.begin;
    while (span.end > span.begin && blank[static_cast<uchar>(span.end[-1])])
        --span.end;
    return span;
}

// Every byte of Windows-1251 is one character: lines are decoded one at a time, only where a
// name must be compared, so that a large file is never decoded whole.
void decodeInto(Span bytes, QChar* text) {
    const std::array<QChar, 256>& characters = windows1251Characters();
    for (const char* b = bytes.begin; b < bytes.end; ++b)
        *text++ = characters[static_cast<uchar>(*b)];
}

// The name of a section line: from after its "[" to its first "]" or its end, blanks removed.
Span sectionName(Span line) {
    const Span text = trimmed(line);
    const char* begin = text.begin + 1; // the "["
    const char* close =
        static_cast<const char*>(std::memchr(begin, ']', static_cast<size_t>(text.end - begin)));
    return trimmed({begin, close ? close : text.end});
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
    const char* begin = bytes_.constData() + lines_[i].start;
    QString text(lines_[i].length, Qt::Uninitialized);
    decodeInto({begin, begin + lines_[i].length}, text.data());
    return text;
}

bool ProfileText::isSectionLine(size_t i) const {
    const std::array<QChar, 256>& characters = windows1251Characters();
    const char* bytes = bytes_.constData() + lines_[i].start;
    for (qsizetype k = 0; k < lines_[i].length; ++k) {
        const QChar c = characters[static_cast<uchar>(bytes[k])];
        if (!c.isSpace())
            return c == u'[';
    }
    return false;
}

ProfileText::Place ProfileText::find(QStringView section, QStringView key) const {
    // A name is decoded only where its length is the one sought (case folding keeps the length,
    // so a name of another length never matches), and a short one without an allocation.
    QVarLengthArray<QChar, 64> buffer;
    const auto lineSpan = [&](size_t i) {
        const char* begin = bytes_.constData() + lines_[i].start;
        return Span{begin, begin + lines_[i].length};
    };
    const auto matches = [&](Span name, QStringView sought) {
        if (name.size() != sought.size())
            return false;
        buffer.resize(name.size());
        decodeInto(name, buffer.data());
        return QStringView(buffer.data(), buffer.size()).compare(sought, Qt::CaseInsensitive) == 0;
    };
    Place place;
    for (size_t s = 0; s < sectionLines_.size() && !place.section; ++s) {
        const size_t header = sectionLines_[s];
        if (!matches(sectionName(lineSpan(header)), section))
            continue;
        place.section = header;
        place.lastContent = header;
        const size_t end = s + 1 < sectionLines_.size() ? sectionLines_[s + 1] : lines_.size();
        for (size_t i = header + 1; i < end; ++i) {
            const Span line = lineSpan(i);
            if (trimmed(line).size() > 0)
                place.lastContent = i;
            if (place.entry)
                continue;
            // "=" is one byte in Windows-1251 and no other byte stands for it.
            const char* equals =
                static_cast<const char*>(std::memchr(line.begin, '=', static_cast<size_t>(line.size())));
            if (equals && matches(trimmed({line.begin, equals}), key))
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

void ProfileText::splice(qsizetype at, qsizetype removed, const QByteArray& inserted) {
    bytes_.replace(at, removed, inserted);
}

bool ProfileText::writeString(QStringView section, QStringView key, QStringView value) {
    // A line break would split the entry into lines that read back as something else.
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value) || key.contains(u'='))
        return false;
    // Both are encoded, and so checked, before anything changes; one byte per character.
    const QByteArray sectionLine = encoded({u"[", section, u"]"});
    const QByteArray entry = encoded({key, u"=", value});

    const Place place = find(section, key);
    const qsizetype entryLength = entry.size();
    if (place.entry) {
        // The key's line takes the entry; the lines after it move by the change in length.
        Line& line = lines_[*place.entry];
        const QByteArray inserted = line.endLength == 0 ? entry + kLineEnd : entry;
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
