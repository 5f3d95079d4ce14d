#include "MessageCollector.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <iostream>

namespace {

const QString kRoot = QStringLiteral(VELTRONA_SOURCE_DIR);
const QString kHelp = kRoot + QStringLiteral("/help");

// Pages that the contents list names but another piece of work brings.
const QSet<QString> kPagesWrittenElsewhere;

QString readText(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

// Every code folder of the program; the tests are not the program.
QStringList programMessages() {
    MessageCollector collector;
    for (const char* folder : {"app", "batch", "chemistry", "storage", "export", "analysis", "properties"}) {
        QDirIterator it(kRoot + u'/' + QLatin1String(folder),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            collector.addSource(path, readText(path));
        }
    }
    return collector.messages();
}

QStringList pages() {
    return QDir(kHelp).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QString contentsOf(const QString& html) {
    static const QRegularExpression nav(QStringLiteral("<nav class=\"contents\">.*?</nav>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    return nav.match(html).captured();
}

} // namespace

TEST(MessageCollectorTest, FollowsEveryWayAMessageReachesTheUser) {
    struct Case {
        const char* what;
        QStringList sources;
        QStringList expected;
    };
    const Case cases[] = {
        {"literal handed to a message, question or failure; captions and comments are not messages",
         {R"src(void A::f() {
                 setWindowTitle(QStringLiteral("Заголовок"));
                 // dialogs_.showMessage(this, "закомментировано");
                 dialogs_.showMessage(this, QStringLiteral("Выберите!"));
                 if (dialogs_.askYesNo(this, u"Выйти?"_s) == Yes) throw batch::Failure(QStringLiteral("Сбой %1").arg(x));
             })src"},
         {"Выберите!", "Выйти?", "Сбой %1"}},
        {"constant of another file returned by a function of a third",
         {R"src(inline const char* const kTooFew =
                 "Мало веществ!";)src",
          R"src(QString calculate(Grid& table, int n) {
                 if (n < 2) return QString::fromUtf8(kTooFew);
                 return QString();
             })src",
          R"src(void A::g() {
                 const QString message = batch::calculate(Table, Count);
                 if (!message.isEmpty()) dialogs_.showMessage(this, message);
             })src"},
         {"Мало веществ!"}},
        {"text built up in a variable, escapes decoded, neighbouring literals joined, parameters not "
         "followed",
         {R"src(QString built(char32_t code, const QString& place) {
                 QString message = QStringLiteral("Символ ");
                 message += QStringLiteral("(U+%1)").arg(code) + place;
                 return message;
             }
             void f(const QString& place) { throw Failure(built(1, place)); }
             const QString place = "не сообщение";
             void g() { showFailure(nullptr, QStringLiteral("Папка Saves\\Screenshots" " !")); })src"},
         {"(U+%1)", "Папка Saves\\Screenshots !", "Символ "}},
        {"a failure made ahead of its throw, and file errors through their helper",
         {R"src(void P::write() {
                 const batch::Failure unableToWrite(QStringLiteral("Unable to write to %1").arg(path_));
                 if (bad) throw unableToWrite;
                 if (error) throwIoError(error, path_);
             }
             inline const QString kDiskFull = QStringLiteral("Disk full");
             QString ioErrorMessage(int code) { return code == ENOSPC ? kDiskFull : QStringLiteral("I/O error %1").arg(code); }
             [[noreturn]] void throwIoError(int code, const QString& path) { throw batch::Failure(ioErrorMessage(code)); })src"},
         {"Disk full", "I/O error %1", "Unable to write to %1"}},
        {"a text kept in a member and handed out by a method; a local of the same name elsewhere is not it",
         {R"src(class Exporter {
             public:
                 QString lastError() const { return error_; }
             private:
                 QString error_;
             };
             bool Exporter::start() {
                 if (!found) { error_ = QStringLiteral("LibreOffice не найден"); return false; }
                 return true;
             }
             void B::other() { QString error_ = QStringLiteral("не сообщение"); error_ = "и это"; }
             void A::run() {
                 if (!exporter.start())
                     throw batch::Failure(exporter.lastError() + QStringLiteral(", ProgID: \"Excel.Application\""));
             })src"},
         {", ProgID: \"Excel.Application\"", "LibreOffice не найден"}},
        {"a helper that throws the reason it is given; what fills a placeholder and a function of Qt "
         "that shares a name with one of ours are not followed",
         {R"src([[noreturn]] void fail(int position, const QString& what) {
                 throw batch::Failure(QStringLiteral("Ошибка в позиции %1: %2").arg(position).arg(what));
             }
             double textToNumber(const QString& text) {
                 if (bad) throw batch::Failure(QStringLiteral("'%1' не число").arg(text));
                 return 0;
             }
             OUString fromUtf8(const char* text) { return OUString(text); }
             inline const char* const kTooMany = "Слишком много!";
             void parse(const Grid& table) {
                 if (x) fail(pos_ + 1, QStringLiteral("нет элемента «%1»").arg(symbol));
                 textToNumber(table.cell(2, 1));
                 const QString path = folder + QStringLiteral("/user");
                 throw batch::Failure(QStringLiteral("Нет папки %1").arg(path) + QString::fromUtf8(kTooMany));
             })src"},
         {"'%1' не число", "Нет папки %1", "Ошибка в позиции %1: %2", "Слишком много!", "нет элемента «%1»"}},
        {"a note beside a computed value, its pieces built up in variables; the note list itself is a "
         "parameter",
         {R"src(void addNote(QString& notes, const QString& text) { notes += text; }
             void check(QString& notes, bool mole) {
                 QString outside;
                 const QString item = mole ? QStringLiteral("%1 мол. %") : QStringLiteral("%1 масс. %");
                 outside += item.arg(name);
                 addNote(notes, QStringLiteral("вне области: ") + outside);
             })src"},
         {"%1 масс. %", "%1 мол. %", "вне области: "}},
    };
    for (const Case& c : cases) {
        MessageCollector collector;
        for (const QString& source : c.sources)
            collector.addSource(QStringLiteral("case.cpp"), source);
        EXPECT_EQ(collector.messages().join(u'|').toStdString(), c.expected.join(u'|').toStdString())
            << c.what;
    }
}

TEST(MessageCollectorTest, FragmentsAreThePiecesBetweenPlaceholdersThatHoldALetter) {
    const auto fragments = [](const char* message) {
        return messageFragments(QString::fromUtf8(message)).join(u'|').toStdString();
    };
    EXPECT_EQ(fragments("'%1' is not a valid floating point value"), "' is not a valid floating point value");
    EXPECT_EQ(fragments("Символ «%1» (U+%2) в строке %3"), "Символ «|» (U+|) в строке");
    EXPECT_EQ(fragments("%1: %2"), "");
    EXPECT_EQ(visibleText(QStringLiteral("<p>ProgID: &quot;Excel.Application&quot;</p>\n<p>a&nbsp; b</p>"))
                  .toStdString(),
              "ProgID: \"Excel.Application\" a b");
}

// The guide's list of messages must hold every message the program's code can show. The texts
// are collected from the code, so a new message fails this test until the guide explains it.
TEST(HelpGuideTest, MessagesPageQuotesEveryMessageOfTheProgram) {
    const QStringList messages = programMessages();
    // The collector reaches each way a message travels; if it found none of these it is broken.
    for (const char* known : {"Выберите вещество из списка!", "Общая навеска должна быть одинакова для всех!",
                              "Введите массовую долю (Масс,%) !", "'%1' is not a valid floating point value",
                              "Invalid floating point operation", "Unable to write to %1", "Disk full",
                              "Invalid numeric input", "Выйти из программы?", "Файл справки не найден: %1"})
        EXPECT_TRUE(messages.contains(QString::fromUtf8(known))) << known;

    const QString guide = visibleText(readText(kHelp + QStringLiteral("/messages.html")));
    for (const QString& message : messages)
        for (const QString& fragment : messageFragments(message))
            EXPECT_TRUE(guide.contains(fragment))
                << "help/messages.html does not quote \"" << fragment.toStdString() << "\" of the message \""
                << message.toStdString() << "\"";
    std::cout << messages.size() << " messages collected from the code:\n";
    for (const QString& message : messages)
        std::cout << "  " << message.toStdString() << '\n';
}

// Every page carries the same contents list, which names every page; every link and picture
// of the guide leads to a file that is there.
TEST(HelpGuideTest, EveryPageCarriesTheContentsAndEveryLinkAndPictureIsThere) {
    const QStringList names = pages();
    ASSERT_TRUE(names.contains(QStringLiteral("index.html")));
    const QString contents = contentsOf(readText(kHelp + QStringLiteral("/index.html")));
    ASSERT_FALSE(contents.isEmpty());

    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"#:]+)[^\"]*\""));
    QSet<QString> listed;
    for (auto it = reference.globalMatch(contents); it.hasNext();)
        listed.insert(it.next().captured(1));
    for (const QString& name : names)
        EXPECT_TRUE(listed.contains(name)) << name.toStdString() << " is missing from the contents list";

    for (const QString& name : names) {
        const QString html = readText(kHelp + u'/' + name);
        EXPECT_EQ(contentsOf(html), contents) << name.toStdString() << ": contents differ from index.html";
        EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">"))) << name.toStdString();
        for (auto it = reference.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(QFile::exists(kHelp + u'/' + target) || kPagesWrittenElsewhere.contains(target))
                << name.toStdString() << " refers to " << target.toStdString() << ", which is not there";
        }
    }
}
