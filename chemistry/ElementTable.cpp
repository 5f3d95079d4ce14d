#include "chemistry/ElementTable.h"

namespace chemistry {

const std::vector<ElementKey>& elementKeys() {
    // Masses carry a decimal comma whatever the regional settings; radioactive elements
    // carry their whole mass number.
    static const std::vector<ElementKey> keys{
        {1, QStringLiteral("H"), QStringLiteral("+1,00797"), 1, 0},
        {2, QStringLiteral("Li"), QStringLiteral("+6,939"), 2, 0},
        {3, QStringLiteral("Na"), QStringLiteral("+22,9898"), 3, 0},
        {4, QStringLiteral("K"), QStringLiteral("+39,102"), 4, 0},
        {5, QStringLiteral("Cu"), QStringLiteral("+63,546"), 5, 0},
        {6, QStringLiteral("Rb"), QStringLiteral("+85,47"), 6, 0},
        {7, QStringLiteral("Ag"), QStringLiteral("+107,868"), 7, 0},
        {8, QStringLiteral("Cs"), QStringLiteral("+132,905"), 8, 0},
        {9, QStringLiteral("Au"), QStringLiteral("+196,967"), 9, 0},
        {10, QStringLiteral("Fr"), QStringLiteral("+223"), 10, 0},
        {11, QStringLiteral("Be"), QStringLiteral("+9,0122"), 2, 1},
        {12, QStringLiteral("Mg"), QStringLiteral("+24,305"), 3, 1},
        {13, QStringLiteral("Ca"), QStringLiteral("+40,08"), 4, 1},
        {14, QStringLiteral("Zn"), QStringLiteral("+65,37"), 5, 1},
        {15, QStringLiteral("Sr"), QStringLiteral("+87,62"), 6, 1},
        {16, QStringLiteral("Cd"), QStringLiteral("+112,4"), 7, 1},
        {17, QStringLiteral("Ba"), QStringLiteral("+137,34"), 8, 1},
        {18, QStringLiteral("Hg"), QStringLiteral("+200,59"), 9, 1},
        {19, QStringLiteral("Ra"), QStringLiteral("+226"), 10, 1},
        {20, QStringLiteral("B"), QStringLiteral("+10,810"), 2, 2},
        {21, QStringLiteral("Al"), QStringLiteral("+26,9815"), 3, 2},
        {22, QStringLiteral("Sc"), QStringLiteral("+44,956"), 4, 2},
        {23, QStringLiteral("Ga"), QStringLiteral("+69,72"), 5, 2},
        {24, QStringLiteral("Y"), QStringLiteral("+88,905"), 6, 2},
        {25, QStringLiteral("In"), QStringLiteral("+114,82"), 7, 2},
        {26, QStringLiteral("La"), QStringLiteral("+138,91"), 8, 2},
        {27, QStringLiteral("Tl"), QStringLiteral("+204,37"), 9, 2},
        {28, QStringLiteral("Ac"), QStringLiteral("+227"), 10, 2},
        {29, QStringLiteral("Si"), QStringLiteral("+28,086"), 3, 3},
        {30, QStringLiteral("Ti"), QStringLiteral("+47,9"), 4, 3},
        {31, QStringLiteral("C"), QStringLiteral("+12,01"), 2, 3},
        {32, QStringLiteral("Ge"), QStringLiteral("+72,59"), 5, 3},
        {33, QStringLiteral("Zr"), QStringLiteral("+91,22"), 6, 3},
        {34, QStringLiteral("Sn"), QStringLiteral("+118,69"), 7, 3},
        {35, QStringLiteral("Hf"), QStringLiteral("+178,49"), 8, 3},
        {36, QStringLiteral("Pb"), QStringLiteral("+207,19"), 9, 3},
        {37, QStringLiteral("Rf"), QStringLiteral("+261"), 10, 3},
        {38, QStringLiteral("N"), QStringLiteral("+14,0067"), 2, 4},
        {39, QStringLiteral("P"), QStringLiteral("+30,9738"), 3, 4},
        {40, QStringLiteral("V"), QStringLiteral("+50,942"), 4, 4},
        {41, QStringLiteral("As"), QStringLiteral("+74,9216"), 5, 4},
        {42, QStringLiteral("Nb"), QStringLiteral("+92,906"), 6, 4},
        {43, QStringLiteral("Sb"), QStringLiteral("+121,75"), 7, 4},
        {44, QStringLiteral("Ta"), QStringLiteral("+180,948"), 8, 4},
        {45, QStringLiteral("Bi"), QStringLiteral("+208,98"), 9, 4},
        {46, QStringLiteral("Db"), QStringLiteral("+262"), 10, 4},
        {47, QStringLiteral("O"), QStringLiteral("+15,9994"), 2, 5},
        {48, QStringLiteral("S"), QStringLiteral("+32,064"), 3, 5},
        {49, QStringLiteral("Cr"), QStringLiteral("+51,996"), 4, 5},
        {50, QStringLiteral("Se"), QStringLiteral("+78,96"), 5, 5},
        {51, QStringLiteral("Mo"), QStringLiteral("+95,94"), 6, 5},
        {52, QStringLiteral("Te"), QStringLiteral("+127,6"), 7, 5},
        {53, QStringLiteral("W"), QStringLiteral("+183,85"), 8, 5},
        {54, QStringLiteral("Po"), QStringLiteral("+210"), 9, 5},
        {55, QStringLiteral("Sg"), QStringLiteral("+263"), 10, 5},
        {56, QStringLiteral("F"), QStringLiteral("+18,9984"), 2, 6},
        {57, QStringLiteral("Cl"), QStringLiteral("+35,453"), 3, 6},
        {58, QStringLiteral("Mn"), QStringLiteral("+54,938"), 4, 6},
        {59, QStringLiteral("Br"), QStringLiteral("+79,904"), 5, 6},
        {60, QStringLiteral("Tc"), QStringLiteral("+99"), 6, 6},
        {61, QStringLiteral("I"), QStringLiteral("+126,9"), 7, 6},
        {62, QStringLiteral("Re"), QStringLiteral("+186,2"), 8, 6},
        {63, QStringLiteral("At"), QStringLiteral("+210"), 9, 6},
        {64, QStringLiteral("Bh"), QStringLiteral("+262"), 10, 6},
        {65, QStringLiteral("Fe"), QStringLiteral("+55,847"), 4, 7},
        {66, QStringLiteral("Ru"), QStringLiteral("+101,07"), 6, 7},
        {67, QStringLiteral("Os"), QStringLiteral("+190,2"), 8, 7},
        {68, QStringLiteral("Hs"), QStringLiteral("+265"), 10, 7},
        {69, QStringLiteral("Co"), QStringLiteral("+58,9332"), 4, 8},
        {70, QStringLiteral("Rh"), QStringLiteral("+102,905"), 6, 8},
        {71, QStringLiteral("Ir"), QStringLiteral("+192,2"), 8, 8},
        {72, QStringLiteral("Mt"), QStringLiteral("+266"), 10, 8},
        {73, QStringLiteral("Ni"), QStringLiteral("+58,71"), 4, 9},
        {74, QStringLiteral("Pd"), QStringLiteral("+106,4"), 6, 9},
        {75, QStringLiteral("Pt"), QStringLiteral("+195,09"), 8, 9},
        {76, QStringLiteral("Uun"), QStringLiteral("+271"), 10, 9},
        {77, QStringLiteral("Ne"), QStringLiteral("+20,179"), 2, 10},
        {78, QStringLiteral("Ar"), QStringLiteral("+39,948"), 3, 10},
        {79, QStringLiteral("Kr"), QStringLiteral("+83,8"), 5, 10},
        {80, QStringLiteral("Xe"), QStringLiteral("+131,3"), 7, 10},
        {81, QStringLiteral("Rn"), QStringLiteral("+222"), 9, 10},
        {82, QStringLiteral("Uuu"), QStringLiteral("+273"), 10, 10},
        {83, QStringLiteral("Ce"), QStringLiteral("+140,12"), 12, 0},
        {84, QStringLiteral("Pr"), QStringLiteral("+140,907"), 12, 1},
        {85, QStringLiteral("Nd"), QStringLiteral("+144,24"), 12, 2},
        {86, QStringLiteral("Pm"), QStringLiteral("+147"), 12, 3},
        {87, QStringLiteral("Sm"), QStringLiteral("+150,35"), 12, 4},
        {88, QStringLiteral("Eu"), QStringLiteral("+151,96"), 12, 5},
        {89, QStringLiteral("Gd"), QStringLiteral("+157,25"), 12, 6},
        {90, QStringLiteral("Tb"), QStringLiteral("+158,924"), 12, 7},
        {91, QStringLiteral("Dy"), QStringLiteral("+162,5"), 12, 8},
        {92, QStringLiteral("Ho"), QStringLiteral("+164,93"), 12, 9},
        {93, QStringLiteral("Er"), QStringLiteral("+167,26"), 12, 10},
        {94, QStringLiteral("Tm"), QStringLiteral("+168,934"), 12, 11},
        {95, QStringLiteral("Yb"), QStringLiteral("+173,04"), 12, 12},
        {96, QStringLiteral("Lu"), QStringLiteral("+174,97"), 12, 13},
        {97, QStringLiteral("Th"), QStringLiteral("+232,038"), 13, 0},
        {98, QStringLiteral("Pa"), QStringLiteral("+231"), 13, 1},
        {99, QStringLiteral("U"), QStringLiteral("+238,03"), 13, 2},
        {100, QStringLiteral("Np"), QStringLiteral("+237"), 13, 3},
        {101, QStringLiteral("Pu"), QStringLiteral("+244"), 13, 4},
        {102, QStringLiteral("Am"), QStringLiteral("+243"), 13, 5},
        {103, QStringLiteral("Cm"), QStringLiteral("+247"), 13, 6},
        {104, QStringLiteral("Bk"), QStringLiteral("+247"), 13, 7},
        {105, QStringLiteral("Cf"), QStringLiteral("+252"), 13, 8},
        {106, QStringLiteral("Es"), QStringLiteral("+254"), 13, 9},
        {107, QStringLiteral("Fm"), QStringLiteral("+257"), 13, 10},
        {108, QStringLiteral("Md"), QStringLiteral("+257"), 13, 11},
        {109, QStringLiteral("No"), QStringLiteral("+255"), 13, 12},
        {110, QStringLiteral("Lr"), QStringLiteral("+256"), 13, 13},
        {111, QStringLiteral("He"), QStringLiteral("+4,0026"), 1, 10},
    };
    return keys;
}

const ElementKey* findElementBySymbol(const QString& symbol) {
    for (const ElementKey& key : elementKeys()) {
        if (key.symbol == symbol) {
            return &key;
        }
    }
    return nullptr;
}

const ElementKey* findElementByKey(int key) {
    if (key < 1 || key > kElementKeyCount) {
        return nullptr;
    }
    return &elementKeys()[static_cast<std::size_t>(key - 1)];
}

} // namespace chemistry
