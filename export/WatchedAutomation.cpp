#include "export/WatchedAutomation.h"

namespace exporting {

namespace {

// One watched object: the inner object of the server and the watch of the export.
template <typename Inner> class Watched {
protected:
    Watched(std::unique_ptr<Inner> inner, std::shared_ptr<ExportWatch> watch)
        : inner_(std::move(inner)), watch_(std::move(watch)) {}

    template <typename Call> auto call(Call&& run) {
        if (watch_->abandoned())
            throw ExportAbandoned();
        if constexpr (std::is_void_v<decltype(run(*inner_))>) {
            run(*inner_);
            watch_->answered();
        } else {
            auto result = run(*inner_);
            watch_->answered();
            return result;
        }
    }

    // The watched counterpart of an object a call gave.
    template <typename Wrapper, typename Object>
    std::unique_ptr<Wrapper> wrap(std::unique_ptr<Object> object) {
        return std::make_unique<Wrapper>(std::move(object), watch_);
    }

    std::unique_ptr<Inner> inner_;
    std::shared_ptr<ExportWatch> watch_;
};

// ---- spreadsheet server ------------------------------------------------------------------------

class WatchedWorksheet : public Worksheet, Watched<Worksheet> {
public:
    WatchedWorksheet(std::unique_ptr<Worksheet> inner, std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    void setCells(int row, int column, const QString& text) override {
        call([&](Worksheet& sheet) { sheet.setCells(row, column, text); });
    }
};

class WatchedWorkbook : public Workbook, Watched<Workbook> {
public:
    WatchedWorkbook(std::unique_ptr<Workbook> inner, std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    std::unique_ptr<Worksheet> worksheets(int index) override {
        return wrap<WatchedWorksheet>(call([&](Workbook& book) { return book.worksheets(index); }));
    }
};

class WatchedWorkbooks : public Workbooks, Watched<Workbooks> {
public:
    WatchedWorkbooks(std::unique_ptr<Workbooks> inner, std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    void add() override {
        call([](Workbooks& books) { books.add(); });
    }
};

class WatchedSpreadsheetSelection : public SpreadsheetSelection, Watched<SpreadsheetSelection> {
public:
    WatchedSpreadsheetSelection(std::unique_ptr<SpreadsheetSelection> inner,
                                std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    void setWrapText(bool wrap) override {
        call([&](SpreadsheetSelection& selection) { selection.setWrapText(wrap); });
    }
};

class WatchedSpreadsheet : public SpreadsheetApplication, Watched<SpreadsheetApplication> {
public:
    WatchedSpreadsheet(std::unique_ptr<SpreadsheetApplication> inner, std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    void setVisible(bool visible) override {
        call([&](SpreadsheetApplication& application) { application.setVisible(visible); });
    }
    std::unique_ptr<Workbooks> workbooks() override {
        return wrap<WatchedWorkbooks>(
            call([](SpreadsheetApplication& application) { return application.workbooks(); }));
    }
    std::unique_ptr<Workbook> activeWorkbook() override {
        return wrap<WatchedWorkbook>(
            call([](SpreadsheetApplication& application) { return application.activeWorkbook(); }));
    }
    std::unique_ptr<SpreadsheetSelection> selection() override {
        return wrap<WatchedSpreadsheetSelection>(
            call([](SpreadsheetApplication& application) { return application.selection(); }));
    }
};

// ---- word-processor server ---------------------------------------------------------------------

class WatchedDocuments : public Documents, Watched<Documents> {
public:
    WatchedDocuments(std::unique_ptr<Documents> inner, std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    void add(Omitted templateName, Omitted newTemplate) override {
        call([&](Documents& documents) { documents.add(templateName, newTemplate); });
    }
};

class WatchedInlineShapes : public InlineShapes, Watched<InlineShapes> {
public:
    WatchedInlineShapes(std::unique_ptr<InlineShapes> inner, std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    void addPicture(const QString& fileName, bool linkToFile, bool saveWithDocument) override {
        call([&](InlineShapes& shapes) { shapes.addPicture(fileName, linkToFile, saveWithDocument); });
    }
};

class WatchedWordSelection : public WordSelection, Watched<WordSelection> {
public:
    WatchedWordSelection(std::unique_ptr<WordSelection> inner, std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    std::unique_ptr<InlineShapes> inlineShapes() override {
        return wrap<WatchedInlineShapes>(
            call([](WordSelection& selection) { return selection.inlineShapes(); }));
    }
};

class WatchedWord : public WordApplication, Watched<WordApplication> {
public:
    WatchedWord(std::unique_ptr<WordApplication> inner, std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    void setVisible(bool visible) override {
        call([&](WordApplication& application) { application.setVisible(visible); });
    }
    std::unique_ptr<Documents> documents() override {
        return wrap<WatchedDocuments>(
            call([](WordApplication& application) { return application.documents(); }));
    }
    std::unique_ptr<WordSelection> selection() override {
        return wrap<WatchedWordSelection>(
            call([](WordApplication& application) { return application.selection(); }));
    }
};

// ---- the client ----------------------------------------------------------------------------------

class WatchedClient : public AutomationClient, Watched<AutomationClient> {
public:
    WatchedClient(std::unique_ptr<AutomationClient> inner, std::shared_ptr<ExportWatch> watch)
        : Watched(std::move(inner), std::move(watch)) {}
    std::unique_ptr<SpreadsheetApplication> startSpreadsheet(const QString& progId) override {
        return wrap<WatchedSpreadsheet>(
            call([&](AutomationClient& client) { return client.startSpreadsheet(progId); }));
    }
    std::unique_ptr<WordApplication> startWordProcessor(const QString& progId) override {
        return wrap<WatchedWord>(
            call([&](AutomationClient& client) { return client.startWordProcessor(progId); }));
    }
};

} // namespace

std::unique_ptr<AutomationClient> watchedClient(std::unique_ptr<AutomationClient> client,
                                                std::shared_ptr<ExportWatch> watch) {
    return std::make_unique<WatchedClient>(std::move(client), std::move(watch));
}

} // namespace exporting
