#include "app/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace {

QString& titleSetByProgram() {
    static QString title;
    return title;
}

} // namespace

void setApplicationTitle(const QString& title) {
    titleSetByProgram() = title;
}

std::optional<QString> saveFileNameWithExtension(Dialogs& dialogs, QWidget* owner, const QString& filter,
                                                 const QString& extension, QString& lastName) {
    std::optional<QString> name = dialogs.saveFileName(owner, filter, lastName);
    if (!name)
        return std::nullopt;
    if (!name->endsWith(extension, Qt::CaseInsensitive))
        *name += extension;
    lastName = *name;
    return name;
}

QString applicationTitle() {
    if (!titleSetByProgram().isEmpty())
        return titleSetByProgram();
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

QString failureText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList descriptions;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        descriptions << parts.at(i);
    return descriptions.join(QStringLiteral(";;"));
}

void QtDialogs::showMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::NoButton, owner);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void QtDialogs::showFailure(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Critical, applicationTitle(), failureText(text), QMessageBox::NoButton,
                    owner);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

namespace {

Dialogs::Answer ask(QWidget* owner, const QString& text, QMessageBox::StandardButtons buttons,
                    QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kQuestionCaption), text, buttons, owner);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    default:
        return Dialogs::Answer::Cancel;
    }
}

} // namespace

Dialogs::Answer QtDialogs::askYesNo(QWidget* owner, const QString& text) {
    return ask(owner, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
}

Dialogs::Answer QtDialogs::askYesNoCancel(QWidget* owner, const QString& text) {
    return ask(owner, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
}

std::optional<QString> QtDialogs::openFileName(QWidget* owner, const QString& filter,
                                               const QString& proposed) {
    const QString name = QFileDialog::getOpenFileName(owner, QString(), proposed, qtFileFilter(filter));
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> QtDialogs::saveFileName(QWidget* owner, const QString& filter,
                                               const QString& proposed) {
    // No question before overwriting: the program appends its own extension to the chosen name.
    const QString name = QFileDialog::getSaveFileName(owner, QString(), proposed, qtFileFilter(filter),
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QColor> QtDialogs::chooseColour(QWidget* owner, const QColor& initial) {
    const QColor colour = QColorDialog::getColor(initial, owner);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

std::optional<Dialogs::PictureName> QtDialogs::savePictureName(QWidget* owner, const QString& filter,
                                                               int fileType, const QString& proposed) {
    const QStringList types = qtFileFilter(filter).split(QStringLiteral(";;"));
    QString chosenType = types.value(fileType - 1, types.value(0));
    // No question before overwriting and no suffix of the dialog's own: the program appends the
    // extension of the chosen type to the name as entered.
    const QString name =
        QFileDialog::getSaveFileName(owner, QString(), proposed, types.join(QStringLiteral(";;")),
                                     &chosenType, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return PictureName{name, std::max<int>(1, static_cast<int>(types.indexOf(chosenType)) + 1)};
}
