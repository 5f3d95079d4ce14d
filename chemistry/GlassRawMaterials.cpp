#include "chemistry/GlassRawMaterials.h"

namespace chemistry {

const std::vector<GlassRawMaterial>& glassRawMaterials() {
    static const std::vector<GlassRawMaterial> list{
        {QStringLiteral("Кварцевый песок"), QStringLiteral("SiO2")},
        {QStringLiteral("Глинозём"), QStringLiteral("Al2O3")},
        {QStringLiteral("Гидроксид алюминия"), QStringLiteral("Al(OH)3")},
        {QStringLiteral("Полевой шпат калиевый"), QStringLiteral("KAlSi3O8")},
        {QStringLiteral("Полевой шпат натриевый"), QStringLiteral("NaAlSi3O8")},
        {QStringLiteral("Каолин"), QStringLiteral("Al2Si2O5(OH)4")},
        {QStringLiteral("Сода кальцинированная"), QStringLiteral("Na2CO3")},
        {QStringLiteral("Поташ"), QStringLiteral("K2CO3")},
        {QStringLiteral("Мел, известняк"), QStringLiteral("CaCO3")},
        {QStringLiteral("Доломит"), QStringLiteral("CaMg(CO3)2")},
        {QStringLiteral("Магнезит"), QStringLiteral("MgCO3")},
        {QStringLiteral("Волластонит"), QStringLiteral("CaSiO3")},
        {QStringLiteral("Борная кислота"), QStringLiteral("H3BO3")},
        {QStringLiteral("Бура"), QStringLiteral("Na2B4O7·10H2O")},
        {QStringLiteral("Бура обезвоженная"), QStringLiteral("Na2B4O7")},
        {QStringLiteral("Сульфат натрия"), QStringLiteral("Na2SO4")},
        {QStringLiteral("Селитра натриевая"), QStringLiteral("NaNO3")},
        {QStringLiteral("Селитра калиевая"), QStringLiteral("KNO3")},
        {QStringLiteral("Карбонат лития"), QStringLiteral("Li2CO3")},
        {QStringLiteral("Карбонат бария"), QStringLiteral("BaCO3")},
        {QStringLiteral("Карбонат стронция"), QStringLiteral("SrCO3")},
        {QStringLiteral("Оксид цинка"), QStringLiteral("ZnO")},
        {QStringLiteral("Сурик свинцовый"), QStringLiteral("Pb3O4")},
        {QStringLiteral("Диоксид титана"), QStringLiteral("TiO2")},
        {QStringLiteral("Циркон"), QStringLiteral("ZrSiO4")},
        {QStringLiteral("Оксид железа(III)"), QStringLiteral("Fe2O3")},
        {QStringLiteral("Фосфат кальция"), QStringLiteral("Ca3(PO4)2")},
        {QStringLiteral("Диоксид церия"), QStringLiteral("CeO2")},
    };
    return list;
}

} // namespace chemistry
