#pragma once

#include <QDialog>
#include <chrono>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
namespace exporting {
class AutomationClient;
}

// The small modal window shown while an office export runs. The export itself runs on a thread of
// its own, so that the main window stays drawn while the office starts; the program takes no other
// input meanwhile. "Отмена" (or Escape) gives the export up at once: the program goes on, while the
// export thread, which may be waiting inside a call to an office that does not answer, is left to
// it and ends at its next call, or with the program.
class OfficeProgress : public QDialog {
    Q_OBJECT
public:
    // What the export tells once the office has answered its start.
    using Started = std::function<void()>;
    // The export, on its own thread. It must own all it uses: after "Отмена" it may run on while
    // the window and the command that started it are long gone.
    using Export = std::function<void(exporting::AutomationClient& client, const Started& started)>;

    // Runs the export with the client behind the window: "Запуск LibreOffice…" until the export
    // reports the office started, then "Экспорт данных…", and "LibreOffice не отвечает…" while the
    // office has not answered for the silence limit. True when the export ran to its end, false
    // when the user gave it up. A failure of the export is raised again here, on the interface
    // thread.
    static bool run(QWidget* owner, std::unique_ptr<exporting::AutomationClient> client, Export work);

    // True while an export that the user gave up still waits for the office. A new export would
    // only queue behind it in the same office.
    static bool abandonedExportWaiting();

    // How long the office may stay silent before the window says so; 30 s. Tests shorten it.
    static void setSilenceLimit(std::chrono::milliseconds limit);

    void reject() override;

private:
    struct Job;
    OfficeProgress(QWidget* owner, std::shared_ptr<Job> job);
    static void perform(const std::shared_ptr<Job>& job);
    void showState();
    void abandon();

    std::shared_ptr<Job> job_;
    QLabel* label_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool abandoned_ = false;
};
