#pragma once

#include <QString>
#include <memory>

// The automation objects of the two office servers, member by member as the exports use them.
// Every call may fail with a batch::Failure carrying the server's or the system's text. An object
// lives only as long as the command that took it; the server keeps running after it.
namespace exporting {

inline const QString kSpreadsheetServer = QStringLiteral("Excel.Application");
inline const QString kWordProcessorServer = QStringLiteral("Word.Application");

// ---- spreadsheet server ------------------------------------------------------------------------

class Worksheet {
public:
    virtual ~Worksheet() = default;
    // Cells(row, column) = text; row and column counted from 1.
    virtual void setCells(int row, int column, const QString& text) = 0;
};

class Workbook {
public:
    virtual ~Workbook() = default;
    // Worksheets(index), counted from 1.
    virtual std::unique_ptr<Worksheet> worksheets(int index) = 0;
};

class Workbooks {
public:
    virtual ~Workbooks() = default;
    virtual void add() = 0;
};

class SpreadsheetSelection {
public:
    virtual ~SpreadsheetSelection() = default;
    virtual void setWrapText(bool wrap) = 0;
};

class SpreadsheetApplication {
public:
    virtual ~SpreadsheetApplication() = default;
    virtual void setVisible(bool visible) = 0;
    virtual std::unique_ptr<Workbooks> workbooks() = 0;
    virtual std::unique_ptr<Workbook> activeWorkbook() = 0;
    virtual std::unique_ptr<SpreadsheetSelection> selection() = 0;
};

// ---- word-processor server ---------------------------------------------------------------------

// An optional argument that the caller leaves out.
struct Omitted {};

class Documents {
public:
    virtual ~Documents() = default;
    virtual void add(Omitted templateName, Omitted newTemplate) = 0;
};

class InlineShapes {
public:
    virtual ~InlineShapes() = default;
    virtual void addPicture(const QString& fileName, bool linkToFile, bool saveWithDocument) = 0;
};

class WordSelection {
public:
    virtual ~WordSelection() = default;
    virtual std::unique_ptr<InlineShapes> inlineShapes() = 0;
};

class WordApplication {
public:
    virtual ~WordApplication() = default;
    virtual void setVisible(bool visible) = 0;
    virtual std::unique_ptr<Documents> documents() = 0;
    virtual std::unique_ptr<WordSelection> selection() = 0;
};

// ---- the client ----------------------------------------------------------------------------------

// Starts a server by its automation name, or attaches to a running one, and gives its
// application object. A server that is missing or does not start fails with the system's text.
class AutomationClient {
public:
    virtual ~AutomationClient() = default;
    virtual std::unique_ptr<SpreadsheetApplication> startSpreadsheet(const QString& progId) = 0;
    virtual std::unique_ptr<WordApplication> startWordProcessor(const QString& progId) = 0;
};

} // namespace exporting
