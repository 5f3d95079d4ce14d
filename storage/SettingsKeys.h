#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace storage {

// Every setting lives in this section of Settings.ini.
inline const QString kSettingsSection = QStringLiteral("Form");

// The window colour set, in the order in which colours are read, written and applied:
// "Form1Color", "panel3Color", "GroupBox11Color", "GroupBox3Color", "panel2Color",
// "GroupBox1Color", "GroupBox9Color", "GroupBox2Color", "GroupBox6Color", "panel7Color".
// The small letters and the small "b" of "Checkbox" are intended: the keys are written exactly so.
const QStringList& colourKeys();
// "Checkbox1" .. "Checkbox6", for CheckBox1 .. CheckBox6 of the settings window.
const QStringList& flagKeys();

// The button face system colour (index 15) that every coloured control has at first.
inline constexpr int kSystemFaceColour = -16777201;
// The check boxes as the settings window first shows them.
inline constexpr std::array<bool, 6> kInitialFlags = {true, false, true, false, false, true};

} // namespace storage
