#include "storage/SettingsKeys.h"

namespace storage {

const QStringList& colourKeys() {
    static const QStringList keys = {QStringLiteral("Form1Color"),      QStringLiteral("panel3Color"),
                                     QStringLiteral("GroupBox11Color"), QStringLiteral("GroupBox3Color"),
                                     QStringLiteral("panel2Color"),     QStringLiteral("GroupBox1Color"),
                                     QStringLiteral("GroupBox9Color"),  QStringLiteral("GroupBox2Color"),
                                     QStringLiteral("GroupBox6Color"),  QStringLiteral("panel7Color")};
    return keys;
}

const QStringList& flagKeys() {
    static const QStringList keys = {QStringLiteral("Checkbox1"), QStringLiteral("Checkbox2"),
                                     QStringLiteral("Checkbox3"), QStringLiteral("Checkbox4"),
                                     QStringLiteral("Checkbox5"), QStringLiteral("Checkbox6")};
    return keys;
}

} // namespace storage
