#include "app/OfficeProgress.h"

#include "app/Dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QThread>
#include <QVBoxLayout>
#include <exception>

OfficeProgress::OfficeProgress(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("OfficeProgress"));
    setWindowTitle(applicationTitle());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    label_ = new QLabel(QStringLiteral("Запуск LibreOffice…"), this);
    label_->setObjectName(QStringLiteral("OfficeProgressText"));
    label_->setAlignment(Qt::AlignCenter);
    label_->setMinimumWidth(260);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(label_);
    setFixedSize(sizeHint());
}

void OfficeProgress::reject() {
    // Escape does not close the window while the export runs.
    if (finished_)
        QDialog::reject();
}

void OfficeProgress::run(QWidget* owner, const std::function<void(const Started&)>& work) {
    OfficeProgress window(owner);
    std::exception_ptr failure;
    QLabel* label = window.label_;
    const Started started = [label] {
        QMetaObject::invokeMethod(
            label, [label] { label->setText(QStringLiteral("Экспорт данных…")); }, Qt::QueuedConnection);
    };
    QThread* worker = QThread::create([&] {
        try {
            work(started);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    connect(worker, &QThread::finished, &window, [&window] {
        window.finished_ = true;
        window.accept();
    });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    worker->start();
    window.exec();
    worker->wait();
    delete worker;
    QApplication::restoreOverrideCursor();
    if (failure)
        std::rethrow_exception(failure);
}
