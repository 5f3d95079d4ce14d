#include "chemistry/Catalogue.h"

namespace chemistry {

namespace {

struct Row {
    int item;
    QString itemText;
    QString formula;
    QString molarMass;
};

CatalogueList makeList(const QString& name, const std::vector<Row>& rows) {
    CatalogueList list{name + QStringLiteral(" :"), name, {}};
    list.entries.reserve(rows.size());
    // Only the first three oxides carry their own "+"; every other entry's mass is appended
    // bare, so that after the leading "0" it reads as one number with more digits
    // ("0" and "101,9612" give 0101,9612), which converts to the same value.
    const bool oxides = name == QStringLiteral("Оксиды");
    for (const Row& row : rows) {
        const bool withPlus = oxides && row.item <= 3;
        list.entries.push_back(
            CatalogueEntry{row.item, row.itemText, row.formula, row.molarMass,
                           withPlus ? QStringLiteral("+") + row.molarMass : row.molarMass});
    }
    return list;
}

} // namespace

const std::vector<CatalogueList>& catalogueLists() {
    // Each molar mass is the sum of the keyboard's element masses over its formula.
    static const std::vector<CatalogueList> lists{
        makeList(QStringLiteral("Оксиды"),
                 {
                     {1, QStringLiteral("1. SiO2"), QStringLiteral("SiO2"), QStringLiteral("60,0848")},
                     {2, QStringLiteral("2. GeO2"), QStringLiteral("GeO2"), QStringLiteral("104,5888")},
                     {3, QStringLiteral("3. Bi2O3"), QStringLiteral("Bi2O3"), QStringLiteral("465,9582")},
                     {4, QStringLiteral("4. Al2O3"), QStringLiteral("Al2O3"), QStringLiteral("101,9612")},
                     {5, QStringLiteral("5. TiO2"), QStringLiteral("TiO2"), QStringLiteral("79,8988")},
                     {6, QStringLiteral("6. MgO"), QStringLiteral("MgO"), QStringLiteral("40,3044")},
                     {7, QStringLiteral("7. Fe2O3"), QStringLiteral("Fe2O3"), QStringLiteral("159,6922")},
                     {8, QStringLiteral("8. Li2O"), QStringLiteral("Li2O"), QStringLiteral("29,8774")},
                     {9, QStringLiteral("9. Na2O"), QStringLiteral("Na2O"), QStringLiteral("61,979")},
                     {10, QStringLiteral("10. CaO"), QStringLiteral("CaO"), QStringLiteral("56,0794")},
                     {11, QStringLiteral("11. Y2O3"), QStringLiteral("Y2O3"), QStringLiteral("225,8082")},
                     {12, QStringLiteral("12. NiO"), QStringLiteral("NiO"), QStringLiteral("74,7094")},
                     {13, QStringLiteral("13. ZnO"), QStringLiteral("ZnO"), QStringLiteral("81,3694")},
                     {14, QStringLiteral("14. P2O5"), QStringLiteral("P2O5"), QStringLiteral("141,9446")},
                     {15, QStringLiteral("15. Mn2O3"), QStringLiteral("Mn2O3"), QStringLiteral("157,8742")},
                     {16, QStringLiteral("16. CeO2"), QStringLiteral("CeO2"), QStringLiteral("172,1188")},
                     {17, QStringLiteral("17. B2O3"), QStringLiteral("B2O3"), QStringLiteral("69,6182")},
                     {18, QStringLiteral("18. K2O"), QStringLiteral("K2O"), QStringLiteral("94,2034")},
                     {19, QStringLiteral("19. CO3"), QStringLiteral("CO3"), QStringLiteral("60,0082")},
                     {20, QStringLiteral("20. BaO"), QStringLiteral("BaO"), QStringLiteral("153,3394")},
                     {21, QStringLiteral("21. PbO"), QStringLiteral("PbO"), QStringLiteral("223,1894")},
                     {22, QStringLiteral("22. As2O3"), QStringLiteral("As2O3"), QStringLiteral("197,8414")},
                     {23, QStringLiteral("23. Cr2O"), QStringLiteral("Cr2O"), QStringLiteral("119,9914")},
                     {24, QStringLiteral("24. Cr2O3"), QStringLiteral("Cr2O3"), QStringLiteral("151,9902")},
                     {25, QStringLiteral("25. CuO"), QStringLiteral("CuO"), QStringLiteral("79,5454")},
                     {26, QStringLiteral("26. GeO"), QStringLiteral("GeO"), QStringLiteral("88,5894")},
                 }),
        makeList(QStringLiteral("Фториды"),
                 {
                     {1, QStringLiteral("1. CaF2"), QStringLiteral("CaF2"), QStringLiteral("78,0768")},
                     {2, QStringLiteral("2. NaF"), QStringLiteral("NaF"), QStringLiteral("41,9882")},
                     {3, QStringLiteral("3. KF"), QStringLiteral("KF"), QStringLiteral("58,1004")},
                     {4, QStringLiteral("4. LiF"), QStringLiteral("LiF"), QStringLiteral("25,9374")},
                     {5, QStringLiteral("5. MgF2"), QStringLiteral("MgF2"), QStringLiteral("62,3018")},
                     {6, QStringLiteral("6. NaF"), QStringLiteral("NaF"), QStringLiteral("41,9882")},
                     {7, QStringLiteral("7. BaF2"), QStringLiteral("BaF2"), QStringLiteral("175,3368")},
                     {8, QStringLiteral("8. SnF2"), QStringLiteral("SnF2"), QStringLiteral("156,6868")},
                     {9, QStringLiteral("9. BiF3"), QStringLiteral("BiF3"), QStringLiteral("265,9752")},
                     {10, QStringLiteral("10. BeF2"), QStringLiteral("BeF2"), QStringLiteral("47,009")},
                     {11, QStringLiteral("11. YF3"), QStringLiteral("YF3"), QStringLiteral("145,9002")},
                     {12, QStringLiteral("12. ZrF4"), QStringLiteral("ZrF4"), QStringLiteral("167,2136")},
                     {13, QStringLiteral("13. NdF3"), QStringLiteral("NdF3"), QStringLiteral("201,2352")},
                     {14, QStringLiteral("14. LaF3"), QStringLiteral("LaF3"), QStringLiteral("195,9052")},
                     {15, QStringLiteral("15. AlF3"), QStringLiteral("AlF3"), QStringLiteral("83,9767")},
                 }),
        makeList(QStringLiteral("Сульфиды"),
                 {
                     {1, QStringLiteral("1. Li2S"), QStringLiteral("Li2S"), QStringLiteral("45,942")},
                     {2, QStringLiteral("2. ZnS"), QStringLiteral("ZnS"), QStringLiteral("97,434")},
                     {3, QStringLiteral("3. Ag2S"), QStringLiteral("Ag2S"), QStringLiteral("247,8")},
                     {4, QStringLiteral("4. Bi2S3"), QStringLiteral("Bi2S3"), QStringLiteral("514,152")},
                     {5, QStringLiteral("5. PbS"), QStringLiteral("PbS"), QStringLiteral("239,254")},
                     {6, QStringLiteral("6. CuS"), QStringLiteral("CuS"), QStringLiteral("95,61")},
                     {7, QStringLiteral("7. MnS"), QStringLiteral("MnS"), QStringLiteral("87,002")},
                     {8, QStringLiteral("8. FeS2"), QStringLiteral("FeS2"), QStringLiteral("119,975")},
                     {9, QStringLiteral("9. HgS"), QStringLiteral("HgS"), QStringLiteral("232,654")},
                     {10, QStringLiteral("10. CuFeS2"), QStringLiteral("CuFeS2"), QStringLiteral("183,521")},
                     {11, QStringLiteral("11. Cu2S"), QStringLiteral("Cu2S"), QStringLiteral("159,156")},
                     {12, QStringLiteral("12. CoS"), QStringLiteral("CoS"), QStringLiteral("90,9972")},
                     {13, QStringLiteral("13. Sb2S3"), QStringLiteral("Sb2S3"), QStringLiteral("339,692")},
                 }),
        makeList(QStringLiteral("Силикаты"),
                 {
                     {1, QStringLiteral("1. Na2SiO3"), QStringLiteral("Na2SiO3"), QStringLiteral("122,0638")},
                     {2, QStringLiteral("2. CaSiO3"), QStringLiteral("CaSiO3"), QStringLiteral("116,1642")},
                     {3, QStringLiteral("3. ZrSiO4"), QStringLiteral("ZrSiO4"), QStringLiteral("183,3036")},
                     {4, QStringLiteral("4. Al2SiO5"), QStringLiteral("Al2SiO5"), QStringLiteral("162,046")},
                 }),
        makeList(
            QStringLiteral("Бораты"),
            {
                {1, QStringLiteral("1. Ca(BO3)2"), QStringLiteral("Ca(BO3)2"), QStringLiteral("157,6964")},
                {2, QStringLiteral("2. NaBO2"), QStringLiteral("NaBO2"), QStringLiteral("65,7986")},
                {3, QStringLiteral("3. Na2B4O7"), QStringLiteral("Na2B4O7"), QStringLiteral("201,2154")},
                {4, QStringLiteral("4. K2B4O7"), QStringLiteral("K2B4O7"), QStringLiteral("233,4398")},
                {5, QStringLiteral("5. Mg2B2O5"), QStringLiteral("Mg2B2O5"), QStringLiteral("150,227")},
            }),
        makeList(QStringLiteral("Хлориды"),
                 {
                     {1, QStringLiteral("1. NiCl2"), QStringLiteral("NiCl2"), QStringLiteral("129,616")},
                     {2, QStringLiteral("2. MgCl2"), QStringLiteral("MgCl2"), QStringLiteral("95,211")},
                     {3, QStringLiteral("3. MnCl2"), QStringLiteral("MnCl2"), QStringLiteral("125,844")},
                     {4, QStringLiteral("4. GaCl2"), QStringLiteral("GaCl2"), QStringLiteral("140,626")},
                     {5, QStringLiteral("5. CdCl2"), QStringLiteral("CdCl2"), QStringLiteral("183,306")},
                     {6, QStringLiteral("6. NaCl"), QStringLiteral("NaCl"), QStringLiteral("58,4428")},
                     {7, QStringLiteral("7. CoCl2"), QStringLiteral("CoCl2"), QStringLiteral("129,8392")},
                     {8, QStringLiteral("8. SiCl4"), QStringLiteral("SiCl4"), QStringLiteral("169,898")},
                     {9, QStringLiteral("9. FeCl3"), QStringLiteral("FeCl3"), QStringLiteral("162,206")},
                     {10, QStringLiteral("10. ZnCl2"), QStringLiteral("ZnCl2"), QStringLiteral("136,276")},
                     {11, QStringLiteral("11. CrCl3"), QStringLiteral("CrCl3"), QStringLiteral("158,355")},
                     {12, QStringLiteral("12. CuCl2"), QStringLiteral("CuCl2"), QStringLiteral("134,452")},
                 }),
    };
    return lists;
}

QString noChoiceText() {
    return QStringLiteral("Не выбрано");
}

EntryState chooseEntry(const CatalogueEntry& entry) {
    EntryState state;
    state.formula = entry.formula;
    state.massExpression = QStringLiteral("0") + entry.expressionText;
    return state;
}

} // namespace chemistry
