#pragma once

#include "export/OfficeAutomation.h"

#include <QString>
#include <memory>

struct VoSession;

namespace exporting {

// The failure of an export whose office went away under it: ended, killed, or its connection lost.
inline const QString kOfficeGone =
    QStringLiteral("LibreOffice закрылся или перестал отвечать во время экспорта");

// Where the office and its plugin are, and how the office is reached.
struct LibreOfficeSettings {
    QString plugin;  // the plugin library (libveltrona_libreoffice.so)
    QString program; // the office's start program
    QString pipe;    // the pipe the office accepts connections on
    // The folder of a private user profile; empty: the user's own profile, so that a LibreOffice the
    // user already runs takes the request over and opens the document in their own windows.
    QString profile;
    bool headless = false;
    int startTimeoutMs = 60000;

    // The program's own: the plugin beside the executable, soffice, the user's profile.
    static LibreOfficeSettings forProgram();
};

class OfficeSession;

// The two servers played by LibreOffice: "Excel.Application" by Calc, "Word.Application" by Writer.
// Attaches to an office listening on the pipe, or starts one detached (it outlives the program,
// keeping the user's documents open) and waits for it. The office's libraries are reached only
// through the plugin, loaded at the first start.
class LibreOfficeClient : public AutomationClient {
public:
    explicit LibreOfficeClient(LibreOfficeSettings settings);
    ~LibreOfficeClient() override;

    std::unique_ptr<SpreadsheetApplication> startSpreadsheet(const QString& progId) override;
    std::unique_ptr<WordApplication> startWordProcessor(const QString& progId) override;

    // Tests and measurement look at what the last export made; the program keeps nothing.
    void keepLastSession(bool keep) { keepLast_ = keep; }
    std::shared_ptr<OfficeSession> lastSession() const { return last_; }

    // A connection to the office, starting it when nobody listens on the pipe.
    std::shared_ptr<OfficeSession> connect();
    // True when an office accepts connections on the pipe right now.
    bool listening();

private:
    LibreOfficeSettings settings_;
    bool keepLast_ = false;
    std::shared_ptr<OfficeSession> last_;
};

// One connection to the office and the document it created last.
class OfficeSession {
public:
    struct Cell {
        enum Type { Empty, Number, Text, Formula } type = Empty;
        QString text; // as displayed
        double value = 0;
        bool wrapped = false;
    };
    struct Pictures {
        int count = 0;
        bool firstLinked = false;
        int widthPixels = 0;
        int heightPixels = 0;
    };

    struct Bridge;
    OfficeSession(const Bridge& bridge, void* session);
    ~OfficeSession();
    OfficeSession(const OfficeSession&) = delete;
    OfficeSession& operator=(const OfficeSession&) = delete;

    void newDocument(bool spreadsheet, bool visible);
    int sheetCount();
    // A number of the program's number text goes in as that number, any other text as text.
    void setCell(int sheet, int row, int column, const QString& text); // all from 0
    void wrapSelection(bool wrap);
    void addPicture(const QString& path, bool link);

    // For tests and measurement.
    Cell cell(int sheet, int row, int column);
    Pictures pictures();
    void closeDocument();
    void terminate();

private:
    VoSession* session() const;

    const Bridge& bridge_;
    void* session_;
};

} // namespace exporting
