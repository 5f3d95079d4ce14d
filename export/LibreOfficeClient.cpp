#include "export/LibreOfficeClient.h"

#include "batch/Failure.h"
#include "export/SpreadsheetCell.h"
#include "export/libreoffice/OfficeBridge.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <map>
#include <mutex>

namespace exporting {

struct OfficeSession::Bridge {
    vo_free_text_fn freeText = nullptr;
    vo_connect_fn connect = nullptr;
    vo_disconnect_fn disconnect = nullptr;
    vo_new_document_fn newDocument = nullptr;
    vo_sheet_count_fn sheetCount = nullptr;
    vo_set_cell_number_fn setCellNumber = nullptr;
    vo_set_cell_text_fn setCellText = nullptr;
    vo_wrap_selection_fn wrapSelection = nullptr;
    vo_add_picture_fn addPicture = nullptr;
    vo_read_cell_fn readCell = nullptr;
    vo_pictures_fn pictures = nullptr;
    vo_close_document_fn closeDocument = nullptr;
    vo_terminate_fn terminate = nullptr;

    // Runs a call of the plugin and raises its failure. The call is made before its error text is
    // read: as two arguments of one function call, the text could be read first, and lost.
    template <typename Call> void run(Call&& call) const {
        char* error = nullptr;
        const int result = call(&error);
        check(result, error);
    }

    // The failure of a call, with the office's text.
    void check(int result, char* error) const {
        if (result == VO_OK)
            return;
        const QString text = error ? QString::fromUtf8(error) : QStringLiteral("LibreOffice: ошибка");
        freeText(error);
        // The office's own text for a lost connection ("Binary URP bridge disposed during call")
        // tells the user nothing.
        if (result == VO_GONE)
            throw batch::Failure(kOfficeGone);
        throw batch::Failure(text);
    }
};

namespace {

// The plugin is loaded once and stays loaded: the office runtime it brings cannot be unloaded.
const OfficeSession::Bridge& loadBridge(const QString& path) {
    static std::mutex mutex;
    static std::map<QString, OfficeSession::Bridge> loaded;
    const std::lock_guard lock(mutex);
    if (const auto found = loaded.find(path); found != loaded.end())
        return found->second;

    auto* library = new QLibrary(path); // kept for the life of the process
    if (!library->load()) {
        const QString reason = library->errorString();
        delete library;
        throw batch::Failure(
            QStringLiteral("Модуль связи с LibreOffice не загружен (%1): %2").arg(path, reason));
    }
    OfficeSession::Bridge bridge;
    bool complete = true;
    const auto resolve = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library->resolve(name));
        complete = complete && function;
    };
    vo_version_fn version = nullptr;
    resolve(version, "vo_version");
    resolve(bridge.freeText, "vo_free_text");
    resolve(bridge.connect, "vo_connect");
    resolve(bridge.disconnect, "vo_disconnect");
    resolve(bridge.newDocument, "vo_new_document");
    resolve(bridge.sheetCount, "vo_sheet_count");
    resolve(bridge.setCellNumber, "vo_set_cell_number");
    resolve(bridge.setCellText, "vo_set_cell_text");
    resolve(bridge.wrapSelection, "vo_wrap_selection");
    resolve(bridge.addPicture, "vo_add_picture");
    resolve(bridge.readCell, "vo_read_cell");
    resolve(bridge.pictures, "vo_pictures");
    resolve(bridge.closeDocument, "vo_close_document");
    resolve(bridge.terminate, "vo_terminate");
    if (!complete || version() != VO_BRIDGE_VERSION)
        throw batch::Failure(
            QStringLiteral("Модуль связи с LibreOffice (%1) не подходит к программе").arg(path));
    return loaded.emplace(path, bridge).first->second;
}

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

// ---- the spreadsheet server -----------------------------------------------------------------------

class CalcWorksheet : public Worksheet {
public:
    CalcWorksheet(std::shared_ptr<OfficeSession> session, int sheet)
        : session_(std::move(session)), sheet_(sheet) {}
    void setCells(int row, int column, const QString& text) override {
        session_->setCell(sheet_, row - 1, column - 1, text);
    }

private:
    std::shared_ptr<OfficeSession> session_;
    int sheet_;
};

class CalcWorkbook : public Workbook {
public:
    explicit CalcWorkbook(std::shared_ptr<OfficeSession> session) : session_(std::move(session)) {}
    std::unique_ptr<Worksheet> worksheets(int index) override {
        if (index < 1 || index > session_->sheetCount())
            throw batch::Failure(QStringLiteral("Нет листа с номером %1").arg(index));
        return std::make_unique<CalcWorksheet>(session_, index - 1);
    }

private:
    std::shared_ptr<OfficeSession> session_;
};

class CalcWorkbooks : public Workbooks {
public:
    CalcWorkbooks(std::shared_ptr<OfficeSession> session, bool visible)
        : session_(std::move(session)), visible_(visible) {}
    void add() override { session_->newDocument(true, visible_); }

private:
    std::shared_ptr<OfficeSession> session_;
    bool visible_;
};

class CalcSelection : public SpreadsheetSelection {
public:
    explicit CalcSelection(std::shared_ptr<OfficeSession> session) : session_(std::move(session)) {}
    void setWrapText(bool wrap) override { session_->wrapSelection(wrap); }

private:
    std::shared_ptr<OfficeSession> session_;
};

class Calc : public SpreadsheetApplication {
public:
    explicit Calc(std::shared_ptr<OfficeSession> session) : session_(std::move(session)) {}
    // An office has no hidden application window: documents added afterwards are shown.
    void setVisible(bool visible) override { visible_ = visible; }
    std::unique_ptr<Workbooks> workbooks() override {
        return std::make_unique<CalcWorkbooks>(session_, visible_);
    }
    std::unique_ptr<Workbook> activeWorkbook() override { return std::make_unique<CalcWorkbook>(session_); }
    std::unique_ptr<SpreadsheetSelection> selection() override {
        return std::make_unique<CalcSelection>(session_);
    }

private:
    std::shared_ptr<OfficeSession> session_;
    bool visible_ = false;
};

// ---- the word-processor server --------------------------------------------------------------------

class WriterDocuments : public Documents {
public:
    WriterDocuments(std::shared_ptr<OfficeSession> session, bool visible)
        : session_(std::move(session)), visible_(visible) {}
    void add(Omitted, Omitted) override { session_->newDocument(false, visible_); }

private:
    std::shared_ptr<OfficeSession> session_;
    bool visible_;
};

class WriterInlineShapes : public InlineShapes {
public:
    explicit WriterInlineShapes(std::shared_ptr<OfficeSession> session) : session_(std::move(session)) {}
    // A picture placed in an office document is kept in it when the document is saved.
    void addPicture(const QString& fileName, bool linkToFile, bool) override {
        session_->addPicture(fileName, linkToFile);
    }

private:
    std::shared_ptr<OfficeSession> session_;
};

class WriterSelection : public WordSelection {
public:
    explicit WriterSelection(std::shared_ptr<OfficeSession> session) : session_(std::move(session)) {}
    std::unique_ptr<InlineShapes> inlineShapes() override {
        return std::make_unique<WriterInlineShapes>(session_);
    }

private:
    std::shared_ptr<OfficeSession> session_;
};

class Writer : public WordApplication {
public:
    explicit Writer(std::shared_ptr<OfficeSession> session) : session_(std::move(session)) {}
    void setVisible(bool visible) override { visible_ = visible; }
    std::unique_ptr<Documents> documents() override {
        return std::make_unique<WriterDocuments>(session_, visible_);
    }
    std::unique_ptr<WordSelection> selection() override {
        return std::make_unique<WriterSelection>(session_);
    }

private:
    std::shared_ptr<OfficeSession> session_;
    bool visible_ = false;
};

} // namespace

// ---- settings and client --------------------------------------------------------------------------

LibreOfficeSettings LibreOfficeSettings::forProgram() {
    LibreOfficeSettings settings;
    settings.plugin = QCoreApplication::applicationDirPath() + QStringLiteral("/libveltrona_libreoffice.so");
    settings.program = QStringLiteral("soffice");
    settings.pipe = QStringLiteral("veltrona-office");
    return settings;
}

LibreOfficeClient::LibreOfficeClient(LibreOfficeSettings settings) : settings_(std::move(settings)) {}

LibreOfficeClient::~LibreOfficeClient() = default;

bool LibreOfficeClient::listening() {
    const OfficeSession::Bridge& bridge = loadBridge(settings_.plugin);
    VoSession* session = nullptr;
    char* error = nullptr;
    const int result = bridge.connect(utf8(settings_.pipe).constData(), 0, &session, &error);
    if (result == VO_OK)
        bridge.disconnect(session);
    bridge.freeText(error);
    return result == VO_OK;
}

std::shared_ptr<OfficeSession> LibreOfficeClient::connect() {
    const OfficeSession::Bridge& bridge = loadBridge(settings_.plugin);
    const QByteArray pipe = utf8(settings_.pipe);
    VoSession* session = nullptr;
    char* error = nullptr;
    int result = bridge.connect(pipe.constData(), 0, &session, &error);
    if (result == VO_NOT_LISTENING) {
        const QString program = QStandardPaths::findExecutable(settings_.program).isEmpty()
                                    ? settings_.program
                                    : QStandardPaths::findExecutable(settings_.program);
        if (!QFileInfo(program).isExecutable())
            throw batch::Failure(QStringLiteral("LibreOffice не установлен: программа «%1» не найдена")
                                     .arg(settings_.program));
        QStringList arguments{
            QStringLiteral("--norestore"), QStringLiteral("--nologo"), QStringLiteral("--nodefault"),
            QStringLiteral("--nolockcheck"),
            QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(settings_.pipe)};
        if (settings_.headless)
            arguments << QStringLiteral("--headless");
        if (!settings_.profile.isEmpty())
            // The office aborts on a raw non-ASCII path in this URL: it must be percent-encoded.
            arguments << QStringLiteral("-env:UserInstallation=") +
                             QUrl::fromLocalFile(settings_.profile).toString(QUrl::FullyEncoded);
        // Detached: the office belongs to the user's session, not to us, and outlives the program.
        QProcess process;
        process.setProgram(program);
        process.setArguments(arguments);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        if (!process.startDetached())
            throw batch::Failure(QStringLiteral("Не удалось запустить LibreOffice (%1): %2")
                                     .arg(program, process.errorString()));
        result = bridge.connect(pipe.constData(), settings_.startTimeoutMs, &session, &error);
        if (result == VO_NOT_LISTENING)
            throw batch::Failure(QStringLiteral("LibreOffice не ответил за %1 с после запуска")
                                     .arg((settings_.startTimeoutMs + 999) / 1000));
    }
    bridge.check(result, error);
    return std::make_shared<OfficeSession>(bridge, session);
}

std::unique_ptr<SpreadsheetApplication> LibreOfficeClient::startSpreadsheet(const QString&) {
    std::shared_ptr<OfficeSession> session = connect();
    last_ = keepLast_ ? session : nullptr;
    return std::make_unique<Calc>(std::move(session));
}

std::unique_ptr<WordApplication> LibreOfficeClient::startWordProcessor(const QString&) {
    std::shared_ptr<OfficeSession> session = connect();
    last_ = keepLast_ ? session : nullptr;
    return std::make_unique<Writer>(std::move(session));
}

// ---- session ----------------------------------------------------------------------------------------

OfficeSession::OfficeSession(const Bridge& bridge, void* session) : bridge_(bridge), session_(session) {}

OfficeSession::~OfficeSession() {
    bridge_.disconnect(session());
}

VoSession* OfficeSession::session() const {
    return static_cast<VoSession*>(session_);
}

void OfficeSession::newDocument(bool spreadsheet, bool visible) {
    bridge_.run([&](char** error) {
        return bridge_.newDocument(session(), spreadsheet ? VO_SPREADSHEET : VO_TEXT_DOCUMENT,
                                   visible ? 1 : 0, error);
    });
}

int OfficeSession::sheetCount() {
    int count = 0;
    bridge_.run([&](char** error) { return bridge_.sheetCount(session(), &count, error); });
    return count;
}

void OfficeSession::setCell(int sheet, int row, int column, const QString& text) {
    if (const std::optional<double> number = spreadsheetNumber(text))
        bridge_.run([&](char** error) {
            return bridge_.setCellNumber(session(), sheet, row, column, *number, error);
        });
    else
        bridge_.run([&](char** error) {
            return bridge_.setCellText(session(), sheet, row, column, utf8(text).constData(), error);
        });
}

void OfficeSession::wrapSelection(bool wrap) {
    bridge_.run([&](char** error) { return bridge_.wrapSelection(session(), wrap ? 1 : 0, error); });
}

void OfficeSession::addPicture(const QString& path, bool link) {
    bridge_.run([&](char** error) {
        return bridge_.addPicture(session(), utf8(path).constData(), link ? 1 : 0, error);
    });
}

OfficeSession::Cell OfficeSession::cell(int sheet, int row, int column) {
    char* text = nullptr;
    int type = 0;
    int wrapped = 0;
    Cell cell;
    bridge_.run([&](char** error) {
        return bridge_.readCell(session(), sheet, row, column, &type, &text, &cell.value, &wrapped, error);
    });
    cell.type = static_cast<Cell::Type>(type);
    cell.text = QString::fromUtf8(text);
    cell.wrapped = wrapped != 0;
    bridge_.freeText(text);
    return cell;
}

OfficeSession::Pictures OfficeSession::pictures() {
    int linked = 0;
    Pictures pictures;
    bridge_.run([&](char** error) {
        return bridge_.pictures(session(), &pictures.count, &linked, &pictures.widthPixels,
                                &pictures.heightPixels, error);
    });
    pictures.firstLinked = linked != 0;
    return pictures;
}

void OfficeSession::closeDocument() {
    bridge_.run([&](char** error) { return bridge_.closeDocument(session(), error); });
}

void OfficeSession::terminate() {
    bridge_.run([&](char** error) { return bridge_.terminate(session(), error); });
}

} // namespace exporting
