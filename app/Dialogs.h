#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

// Every message window, question and common dialog of the program goes through this interface,
// so that tests can answer them from a script.
class Dialogs {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Dialogs() = default;
    // The program's own message: caption is the application title, no icon, one "OK" button.
    virtual void showMessage(QWidget* owner, const QString& text) = 0;
    // The default failure display: error icon, the application title as caption.
    virtual void showFailure(QWidget* owner, const QString& text) = 0;
    // Questions with the caption "Вельтра" and the information icon.
    virtual Answer askYesNo(QWidget* owner, const QString& text) = 0;       // No is the default
    virtual Answer askYesNoCancel(QWidget* owner, const QString& text) = 0; // Cancel is the default
    // File dialogs; `filter` is written "description|pattern". Empty optional when cancelled.
    virtual std::optional<QString> openFileName(QWidget* owner, const QString& filter,
                                                const QString& proposed) = 0;
    virtual std::optional<QString> saveFileName(QWidget* owner, const QString& filter,
                                                const QString& proposed) = 0;
    virtual std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) = 0;
    // The save-picture dialog: `filter` lists its file types, numbered from 1, and `fileType` is
    // the one preselected. Gives the chosen name as entered and the chosen type; empty when
    // cancelled.
    struct PictureName {
        QString path;
        int fileType = 1;
    };
    virtual std::optional<PictureName> savePictureName(QWidget* owner, const QString& filter, int fileType,
                                                       const QString& proposed) = 0;
};

// The save dialog for a file that must end in `extension` (".csv"): the extension is appended
// where the chosen name lacks it, and the name is kept in `lastName` for the next time. Empty
// optional when cancelled.
std::optional<QString> saveFileNameWithExtension(Dialogs& dialogs, QWidget* owner, const QString& filter,
                                                 const QString& extension, QString& lastName);

// The real dialogs of Qt.
class QtDialogs : public Dialogs {
public:
    void showMessage(QWidget* owner, const QString& text) override;
    void showFailure(QWidget* owner, const QString& text) override;
    Answer askYesNo(QWidget* owner, const QString& text) override;
    Answer askYesNoCancel(QWidget* owner, const QString& text) override;
    std::optional<QString> openFileName(QWidget* owner, const QString& filter,
                                        const QString& proposed) override;
    std::optional<QString> saveFileName(QWidget* owner, const QString& filter,
                                        const QString& proposed) override;
    std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) override;
    std::optional<PictureName> savePictureName(QWidget* owner, const QString& filter, int fileType,
                                               const QString& proposed) override;
};

// The application title: the executable's file name without its folder, cut before its first
// full stop, every letter after the first in lower case; or the title set below.
QString applicationTitle();
// Sets the title for an executable that shows the program under another file name (the guide's
// picture maker); an empty title goes back to the one of the file name.
void setApplicationTitle(const QString& title);
// The failure display appends a full stop when the last character sorts after ".".
QString failureText(const QString& message);
// Turns "description|pattern|description|pattern" into Qt's filter list.
QString qtFileFilter(const QString& filter);
// The caption of the program's two questions.
inline const char* const kQuestionCaption = "Вельтра";
