#pragma once

#include "batch/Failure.h"
#include "export/OfficeAutomation.h"

#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// Where a call waits, as a call to an office that has stopped answering does, until it is opened.
class Gate {
public:
    void open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        opened_.notify_all();
    }
    void pass() {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// An automation client that records every call it gets, in the servers' own terms, and fails
// where the test says: at the start of a server, or at one call. It may be called from another
// thread than the test's: `calls` is read once that thread is done or waits at the gate.
class RecordingAutomation : public exporting::AutomationClient {
public:
    QStringList calls;
    QString startFailure;          // non-empty: starting a server fails with this text
    QString failingCall;           // the call that fails with kCallFailure
    std::function<void()> onStart; // runs when a server is asked to start
    QString blockingCall;          // the call that waits at `gate` once recorded
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    std::atomic<bool> waiting{false}; // a call waits at the gate now

    static inline const QString kCallFailure = QStringLiteral("Ошибка сервера автоматизации");

    void record(const QString& call) {
        {
            const std::lock_guard lock(mutex_);
            calls << call;
        }
        if (call == blockingCall) {
            waiting = true;
            gate->pass();
            waiting = false;
        }
        if (call == failingCall)
            throw batch::Failure(kCallFailure);
    }

    std::unique_ptr<exporting::SpreadsheetApplication> startSpreadsheet(const QString& progId) override {
        start(progId);
        return std::make_unique<Spreadsheet>(*this);
    }
    std::unique_ptr<exporting::WordApplication> startWordProcessor(const QString& progId) override {
        start(progId);
        return std::make_unique<Word>(*this);
    }

private:
    std::mutex mutex_;

    void start(const QString& progId) {
        if (onStart)
            onStart();
        record(QStringLiteral("start ") + progId);
        if (!startFailure.isEmpty())
            throw batch::Failure(startFailure);
    }

    static QString flag(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

    struct Object {
        RecordingAutomation& log;
    };
    struct Sheet : exporting::Worksheet, Object {
        explicit Sheet(RecordingAutomation& log) : Object{log} {}
        void setCells(int row, int column, const QString& text) override {
            log.record(QStringLiteral("Cells(%1, %2) = %3").arg(row).arg(column).arg(text));
        }
    };
    struct Book : exporting::Workbook, Object {
        explicit Book(RecordingAutomation& log) : Object{log} {}
        std::unique_ptr<exporting::Worksheet> worksheets(int index) override {
            log.record(QStringLiteral("Worksheets(%1)").arg(index));
            return std::make_unique<Sheet>(log);
        }
    };
    struct Books : exporting::Workbooks, Object {
        explicit Books(RecordingAutomation& log) : Object{log} {}
        void add() override { log.record(QStringLiteral("Workbooks.Add()")); }
    };
    struct Cells : exporting::SpreadsheetSelection, Object {
        explicit Cells(RecordingAutomation& log) : Object{log} {}
        void setWrapText(bool wrap) override {
            log.record(QStringLiteral("Selection.WrapText = ") + flag(wrap));
        }
    };
    struct Spreadsheet : exporting::SpreadsheetApplication, Object {
        explicit Spreadsheet(RecordingAutomation& log) : Object{log} {}
        void setVisible(bool visible) override { log.record(QStringLiteral("Visible = ") + flag(visible)); }
        std::unique_ptr<exporting::Workbooks> workbooks() override {
            log.record(QStringLiteral("Workbooks"));
            return std::make_unique<Books>(log);
        }
        std::unique_ptr<exporting::Workbook> activeWorkbook() override {
            log.record(QStringLiteral("ActiveWorkbook"));
            return std::make_unique<Book>(log);
        }
        std::unique_ptr<exporting::SpreadsheetSelection> selection() override {
            log.record(QStringLiteral("Selection"));
            return std::make_unique<Cells>(log);
        }
    };

    struct Docs : exporting::Documents, Object {
        explicit Docs(RecordingAutomation& log) : Object{log} {}
        void add(exporting::Omitted, exporting::Omitted) override {
            log.record(QStringLiteral("Documents.Add(omitted, omitted)"));
        }
    };
    struct Shapes : exporting::InlineShapes, Object {
        explicit Shapes(RecordingAutomation& log) : Object{log} {}
        void addPicture(const QString& fileName, bool linkToFile, bool saveWithDocument) override {
            log.record(QStringLiteral("InlineShapes.AddPicture(%1, LinkToFile = %2, SaveWithDocument = %3)")
                           .arg(fileName, flag(linkToFile), flag(saveWithDocument)));
        }
    };
    struct Text : exporting::WordSelection, Object {
        explicit Text(RecordingAutomation& log) : Object{log} {}
        std::unique_ptr<exporting::InlineShapes> inlineShapes() override {
            log.record(QStringLiteral("Selection.InlineShapes"));
            return std::make_unique<Shapes>(log);
        }
    };
    struct Word : exporting::WordApplication, Object {
        explicit Word(RecordingAutomation& log) : Object{log} {}
        void setVisible(bool visible) override { log.record(QStringLiteral("Visible = ") + flag(visible)); }
        std::unique_ptr<exporting::Documents> documents() override {
            log.record(QStringLiteral("Documents"));
            return std::make_unique<Docs>(log);
        }
        std::unique_ptr<exporting::WordSelection> selection() override {
            log.record(QStringLiteral("Selection"));
            return std::make_unique<Text>(log);
        }
    };
};
