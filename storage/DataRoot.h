#pragma once

#include <QString>
#include <QStringList>

namespace storage {

// The folder the program writes into, its data root, holds in one layout
//   Data/Settings.ini, Data/RawMaterials.csv, Saves/Screenshots/
// It is the program's own folder wherever the program can write beside itself (a portable copy, a
// build, scripts/install): nothing changes there. A program installed for the whole system cannot,
// and each user gets a root of their own, $XDG_DATA_HOME/veltrona (by default
// ~/.local/share/veltrona), made and filled with the program's starter data at start.

// Where the program looks for a root.
struct DataRootPlaces {
    QString programFolder; // the folder of the executable
    QString dataHome;      // $XDG_DATA_HOME as the environment has it, possibly empty
    QString homeFolder;    // the user's home folder
};

// The program's folder when its Data/ folder can be written, or holds a Settings.ini that can be
// written in place; the user's root otherwise.
QString chooseDataRoot(const DataRootPlaces& places);

// <dataHome>/veltrona, or <home>/.local/share/veltrona when dataHome is empty or not an absolute
// path (a relative one is not valid there and is ignored).
QString userDataRoot(const QString& dataHome, const QString& homeFolder);

// Makes the user's root usable: creates <root>/Data and <root>/Saves/Screenshots, and copies into
// Data/ each file of shippedData (the program's own Data/ folder) that Data/ lacks. A file already
// there is never touched; a copy is complete or absent. Nothing is reported here: whatever cannot
// be made fails again, with its message, in the command that writes there later, and the program
// never turns to a third place. Returns the names of the files copied.
QStringList prepareUserDataRoot(const QString& root, const QString& shippedData);

// Chooses the root of this run from the executable's folder and the environment, prepares it when
// it is the user's, and makes it the data root. Start-up calls it once, before any window.
void chooseDataRootAtStart();

// The data root of this run; the executable's folder until start-up chose one.
QString dataRoot();
void setDataRoot(const QString& root);

// The files and folders under the data root.
QString settingsFilePath();     // <root>/Data/Settings.ini
QString rawMaterialsFilePath(); // <root>/Data/RawMaterials.csv

} // namespace storage
