#include "storage/ProfileFile.h"

#include "batch/Failure.h"
#include "storage/AtomicFile.h"
#include "storage/WholeNumber.h"
#include "storage/Windows1251.h"

#include <QFileInfo>
#include <QStringView>
#include <cerrno>
#include <optional>
#include <vector>

namespace storage {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

struct Line {
    qsizetype start;     // offset of the line's first character
    qsizetype length;    // without the line end
    qsizetype endLength; // 0 only for a last line that has no line end
};

// Windows-1251 has one byte per character, so offsets into the decoded text are offsets into
// the file's bytes too, and a write can splice the bytes without touching any other line.
class Profile {
public:
    explicit Profile(QByteArray bytes) : bytes_(std::move(bytes)), text_(decodeWindows1251(bytes_)) {
        qsizetype pos = 0;
        while (pos < text_.size()) {
            const qsizetype lineFeed = text_.indexOf(u'\n', pos);
            if (lineFeed < 0) {
                lines_.push_back({pos, text_.size() - pos, 0});
                break;
            }
            const bool crlf = lineFeed > pos && text_[lineFeed - 1] == u'\r';
            lines_.push_back({pos, lineFeed - pos - (crlf ? 1 : 0), crlf ? 2 : 1});
            pos = lineFeed + 1;
        }
    }

    struct Place {
        std::optional<size_t> section; // the section's header line
        std::optional<size_t> entry;   // the key's line in that section
        size_t lastContent = 0;        // the section's last line that is not blank
    };

    Place find(QStringView section, QStringView key) const {
        Place place;
        bool inSection = false;
        for (size_t i = 0; i < lines_.size(); ++i) {
            const QStringView content = contentOf(i);
            const QStringView trimmed = content.trimmed();
            if (trimmed.startsWith(u'[')) {
                if (place.section)
                    break;
                inSection = sectionName(trimmed).compare(section, Qt::CaseInsensitive) == 0;
                if (inSection) {
                    place.section = i;
                    place.lastContent = i;
                }
                continue;
            }
            if (!inSection)
                continue;
            if (!trimmed.isEmpty())
                place.lastContent = i;
            const qsizetype equals = content.indexOf(u'=');
            if (!place.entry && equals >= 0 &&
                content.first(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
                place.entry = i;
        }
        return place;
    }

    QStringView contentOf(size_t i) const {
        return QStringView(text_).sliced(lines_[i].start, lines_[i].length);
    }

    QString valueOf(size_t i) const {
        const QStringView content = contentOf(i);
        QStringView value = content.sliced(content.indexOf(u'=') + 1).trimmed();
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.sliced(1, value.size() - 2);
        return value.toString();
    }

    // The bytes with the entry's line replaced by `entry`, or `entry` added as the section's
    // last entry, or the section added at the end of the file.
    QByteArray withEntry(const Place& place, const QByteArray& sectionLine, const QByteArray& entry) const {
        QByteArray result = bytes_;
        if (place.entry) {
            const Line& line = lines_[*place.entry];
            result.replace(line.start, line.length, entry);
            if (line.endLength == 0)
                result += kLineEnd;
            return result;
        }
        if (place.section) {
            const Line& line = lines_[place.lastContent];
            const qsizetype end = line.start + line.length;
            if (line.endLength == 0)
                return result.insert(end, kLineEnd + entry + kLineEnd);
            return result.insert(end + line.endLength, entry + kLineEnd);
        }
        if (!lines_.empty() && lines_.back().endLength == 0)
            result += kLineEnd;
        return result + sectionLine + kLineEnd + entry + kLineEnd;
    }

private:
    static QStringView sectionName(QStringView trimmed) {
        QStringView name = trimmed.sliced(1);
        const qsizetype close = name.indexOf(u']');
        if (close >= 0)
            name = name.first(close);
        return name.trimmed();
    }

    QByteArray bytes_;
    QString text_;
    std::vector<Line> lines_;
};

bool holdsLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

} // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
    QByteArray bytes;
    int error = 0;
    if (readWholeFile(path_, bytes, error) != ReadStatus::Read)
        return defaultValue;
    const Profile profile(std::move(bytes));
    const auto place = profile.find(section, key);
    return place.entry ? profile.valueOf(*place.entry) : defaultValue;
}

int ProfileFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    const auto value = parseWholeNumber(readString(section, key, QString()));
    return value ? *value : defaultValue;
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value) {
    const batch::Failure unableToWrite(
        QStringLiteral("Unable to write to %1").arg(QFileInfo(path_).absoluteFilePath()));
    // A line break would split the entry into lines that read back as something else.
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value) || key.contains(u'='))
        throw unableToWrite;
    const QByteArray sectionLine = encodeWindows1251(QStringLiteral("[%1]").arg(section));
    const QByteArray entry = encodeWindows1251(key + u'=' + value);

    QByteArray bytes;
    int error = 0;
    const ReadStatus status = readWholeFile(path_, bytes, error);
    // Only a file that is not there may be started afresh; one we cannot read must not be lost.
    if (status == ReadStatus::Failed || (status == ReadStatus::NotOpened && error != ENOENT))
        throw unableToWrite;
    const Profile profile(std::move(bytes));
    if (replaceFileAtomically(path_, profile.withEntry(profile.find(section, key), sectionLine, entry)) != 0)
        throw unableToWrite;
}

void ProfileFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

} // namespace storage
