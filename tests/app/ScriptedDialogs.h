#pragma once

#include "app/Dialogs.h"

#include <QStringList>
#include <deque>

// Answers the program's dialogs from a script and records what was shown. An unscripted question
// is answered with its default button, an unscripted dialog is cancelled.
class ScriptedDialogs : public Dialogs {
public:
    QStringList messages, failures, questions, proposedNames;
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> fileNames;
    std::deque<std::optional<QColor>> colours;
    QList<QColor> initialColours;
    std::deque<std::optional<PictureName>> pictureNames;
    QList<int> preselectedTypes;
    QStringList pictureFilters;

    void showMessage(QWidget*, const QString& text) override { messages << text; }
    void showFailure(QWidget*, const QString& text) override { failures << text; }
    Answer askYesNo(QWidget*, const QString& text) override { return answer(text, Answer::No); }
    Answer askYesNoCancel(QWidget*, const QString& text) override { return answer(text, Answer::Cancel); }
    std::optional<QString> openFileName(QWidget*, const QString&, const QString& proposed) override {
        proposedNames << proposed;
        return next(fileNames, std::optional<QString>());
    }
    std::optional<QString> saveFileName(QWidget* parent, const QString& filter,
                                        const QString& proposed) override {
        return openFileName(parent, filter, proposed);
    }
    std::optional<QColor> chooseColour(QWidget*, const QColor& initial) override {
        initialColours << initial;
        return next(colours, std::optional<QColor>());
    }
    std::optional<PictureName> savePictureName(QWidget*, const QString& filter, int fileType,
                                               const QString& proposed) override {
        pictureFilters << filter;
        preselectedTypes << fileType;
        proposedNames << proposed;
        return next(pictureNames, std::optional<PictureName>());
    }

private:
    Answer answer(const QString& text, Answer defaultAnswer) {
        questions << text;
        return next(answers, defaultAnswer);
    }
    // GCC 12 at -O2 takes the string inside a copied std::optional for uninitialised in some
    // translation units (GCC bug 80635, a false alarm of -Wmaybe-uninitialized).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
    template <typename T> static T next(std::deque<T>& script, T unscripted) {
        if (script.empty())
            return unscripted;
        T first = script.front();
        script.pop_front();
        return first;
    }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
};
