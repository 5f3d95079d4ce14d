#include "app/OfficeProgress.h"

#include "app/Dialogs.h"
#include "export/WatchedAutomation.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>

namespace {

// Exports given up while their office was silent, and not ended since.
std::atomic<int> gAbandonedWaiting{0};
std::atomic<long long> gSilenceLimitMs{30000};

// An export that waits inside the office's libraries when the program ends must not have them torn
// down under it (the office runtime's objects, destroyed at exit, would leave a thread that is
// still in a call, or that the office answers meanwhile, in freed memory), nor keep the program
// from ending. So the program then ends at the close of its event loop, without the destructors
// of its objects, with the status it always ends with. The main window has written the settings
// by then: it does so before the loop is told to end. Whatever else must happen at the end of the
// program belongs before that point too.
void endProgramAtOnceWhileAbandonedWaiting() {
    static bool connected = false;
    if (connected || !QCoreApplication::instance())
        return;
    connected = true;
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] {
        if (OfficeProgress::abandonedExportWaiting()) {
            std::fflush(nullptr);
            std::_Exit(EXIT_SUCCESS);
        }
    });
}

} // namespace

// Shared by the window and the export thread; the thread keeps it after the window is gone.
struct OfficeProgress::Job {
    enum class State { Running, Finished, Abandoned };

    std::shared_ptr<exporting::ExportWatch> watch = std::make_shared<exporting::ExportWatch>();
    std::unique_ptr<exporting::AutomationClient> client;
    Export work;
    std::atomic<bool> started{false};

    std::mutex mutex; // guards what follows
    State state = State::Running;
    OfficeProgress* window = nullptr; // while the window waits for the export
    std::exception_ptr failure;
};

OfficeProgress::OfficeProgress(QWidget* owner, std::shared_ptr<Job> job)
    : QDialog(owner), job_(std::move(job)) {
    setObjectName(QStringLiteral("OfficeProgress"));
    setWindowTitle(applicationTitle());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    label_ = new QLabel(QStringLiteral("Запуск LibreOffice…"), this);
    label_->setObjectName(QStringLiteral("OfficeProgressText"));
    label_->setAlignment(Qt::AlignCenter);
    label_->setMinimumWidth(260);
    cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
    cancel_->setObjectName(QStringLiteral("OfficeProgressCancel"));
    cancel_->setAutoDefault(false);
    cancel_->setCursor(Qt::ArrowCursor);
    connect(cancel_, &QPushButton::clicked, this, &OfficeProgress::abandon);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 12);
    layout->setSpacing(12);
    layout->addWidget(label_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    auto* clock = new QTimer(this);
    clock->setObjectName(QStringLiteral("OfficeProgressClock"));
    clock->setInterval(100);
    connect(clock, &QTimer::timeout, this, &OfficeProgress::showState);
    clock->start();
}

bool OfficeProgress::abandonedExportWaiting() {
    return gAbandonedWaiting > 0;
}

void OfficeProgress::setSilenceLimit(std::chrono::milliseconds limit) {
    gSilenceLimitMs = limit.count();
}

void OfficeProgress::showState() {
    if (job_->watch->silence() >= std::chrono::milliseconds(gSilenceLimitMs.load()))
        label_->setText(QStringLiteral("LibreOffice не отвечает…"));
    else if (job_->started)
        label_->setText(QStringLiteral("Экспорт данных…"));
}

void OfficeProgress::reject() {
    // Escape is "Отмена".
    abandon();
}

void OfficeProgress::abandon() {
    {
        const std::lock_guard lock(job_->mutex);
        if (job_->state == Job::State::Running) {
            job_->state = Job::State::Abandoned;
            job_->window = nullptr;
            job_->watch->abandon();
            ++gAbandonedWaiting;
            abandoned_ = true;
        }
    }
    if (abandoned_) {
        endProgramAtOnceWhileAbandonedWaiting();
        QDialog::reject();
    }
    // Otherwise the export has just ended, and its report is on the way to the window.
}

void OfficeProgress::perform(const std::shared_ptr<Job>& job) {
    std::exception_ptr failure;
    try {
        job->work(*job->client, [&job] {
            job->started = true;
            job->watch->answered();
            const std::lock_guard lock(job->mutex);
            if (job->window)
                QMetaObject::invokeMethod(job->window, &OfficeProgress::showState, Qt::QueuedConnection);
        });
    } catch (...) {
        failure = std::current_exception();
    }
    // What the export holds (its table, the client, the connection to the office) is let go here,
    // on this thread, while the program still runs: an abandoned export counts as waiting until then.
    job->work = nullptr;
    job->client.reset();
    const std::lock_guard lock(job->mutex);
    if (job->state == Job::State::Abandoned) {
        --gAbandonedWaiting;
        return;
    }
    job->state = Job::State::Finished;
    job->failure = failure;
    if (job->window)
        QMetaObject::invokeMethod(job->window, &QDialog::accept, Qt::QueuedConnection);
}

bool OfficeProgress::run(QWidget* owner, std::unique_ptr<exporting::AutomationClient> client, Export work) {
    auto job = std::make_shared<Job>();
    job->client = exporting::watchedClient(std::move(client), job->watch);
    job->work = std::move(work);
    OfficeProgress window(owner, job);
    job->window = &window;
    // Not joined: an export given up may stay in a call to a silent office for as long as it is silent.
    std::thread([job] { perform(job); }).detach();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    window.exec();
    QApplication::restoreOverrideCursor();
    {
        const std::lock_guard lock(job->mutex);
        job->window = nullptr;
    }
    if (window.abandoned_)
        return false;
    if (job->failure)
        std::rethrow_exception(job->failure);
    return true;
}
