#pragma once

#include <QDialog>
#include <functional>

class QLabel;

// The small modal window shown while an office export runs. The export itself runs off the
// interface thread, so that the main window stays drawn while the office starts, and takes no
// input meanwhile; the window cannot be closed by the user.
class OfficeProgress : public QDialog {
    Q_OBJECT
public:
    // What the export tells once the office has answered.
    using Started = std::function<void()>;

    // Runs the export behind the window with the wait cursor; "Запуск LibreOffice…" is shown until
    // the export reports the office started, then "Экспорт данных…". A failure of the export is
    // raised again here, on the interface thread.
    static void run(QWidget* owner, const std::function<void(const Started&)>& work);

    void reject() override;

private:
    explicit OfficeProgress(QWidget* owner);

    QLabel* label_ = nullptr;
    bool finished_ = false;
};
