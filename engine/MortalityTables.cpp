// SPDX-License-Identifier: GPL-3.0-or-later
#include "MortalityTables.h"

#include <algorithm>
#include <memory>

// l(x), the number living at exact age x out of 100000 born, for ages 0..109.
// Ages 107..109 hold 0 in every table.
// Ten ages to a row, as the table is read.
// clang-format off
const float g_fLivingTables[kTableCount][kTableSlots] = {
    {
        100000.0f, 98519.0f, 98418.0f, 98336.0f, 98266.0f, 98209.0f, 98162.0f, 98124.0f, 98093.0f, 98066.0f,
        98041.0f, 98014.0f, 97983.0f, 97945.0f, 97891.0f, 97813.0f, 97710.0f, 97582.0f, 97436.0f, 97277.0f,
        97108.0f, 96931.0f, 96751.0f, 96570.0f, 96392.0f, 96222.0f, 96063.0f, 95914.0f, 95770.0f, 95629.0f,
        95490.0f, 95350.0f, 95208.0f, 95062.0f, 94909.0f, 94747.0f, 94575.0f, 94391.0f, 94192.0f, 93976.0f,
        93742.0f, 93488.0f, 93209.0f, 92903.0f, 92565.0f, 92191.0f, 91778.0f, 91322.0f, 90819.0f, 90268.0f,
        89666.0f, 89009.0f, 88292.0f, 87509.0f, 86654.0f, 85724.0f, 84714.0f, 83619.0f, 82434.0f, 81157.0f,
        79784.0f, 78314.0f, 76742.0f, 75063.0f, 73277.0f, 71385.0f, 69387.0f, 67278.0f, 65054.0f, 62713.0f,
        60261.0f, 57701.0f, 55039.0f, 52280.0f, 49439.0f, 46532.0f, 43574.0f, 40576.0f, 37546.0f, 34504.0f,
        31475.0f, 28481.0f, 25543.0f, 22682.0f, 19926.0f, 17301.0f, 14832.0f, 12540.0f, 10441.0f, 8549.0f,
        6874.0f, 5420.0f, 4183.0f, 3153.0f, 2316.0f, 1655.0f, 1147.0f, 769.0f, 497.0f, 311.0f,
        189.0f, 112.0f, 62.0f, 31.0f, 13.0f, 4.0f, 1.0f, 0.0f, 0.0f, 0.0f,
    },
    {
        100000.0f, 98808.0f, 98717.0f, 98653.0f, 98605.0f, 98563.0f, 98526.0f, 98495.0f, 98468.0f, 98443.0f,
        98421.0f, 98398.0f, 98375.0f, 98349.0f, 98320.0f, 98286.0f, 98244.0f, 98198.0f, 98147.0f, 98094.0f,
        98040.0f, 97987.0f, 97934.0f, 97881.0f, 97827.0f, 97775.0f, 97722.0f, 97669.0f, 97615.0f, 97559.0f,
        97499.0f, 97435.0f, 97367.0f, 97293.0f, 97213.0f, 97126.0f, 97032.0f, 96928.0f, 96815.0f, 96691.0f,
        96557.0f, 96411.0f, 96251.0f, 96075.0f, 95879.0f, 95662.0f, 95421.0f, 95156.0f, 94867.0f, 94556.0f,
        94224.0f, 93870.0f, 93491.0f, 93082.0f, 92637.0f, 92155.0f, 91630.0f, 91061.0f, 90442.0f, 89773.0f,
        89052.0f, 88275.0f, 87437.0f, 86529.0f, 85545.0f, 84483.0f, 83336.0f, 82096.0f, 80752.0f, 79297.0f,
        77729.0f, 76040.0f, 74221.0f, 72257.0f, 70147.0f, 67892.0f, 65489.0f, 62925.0f, 60186.0f, 57269.0f,
        54187.0f, 50949.0f, 47564.0f, 44043.0f, 40414.0f, 36717.0f, 32995.0f, 29290.0f, 25648.0f, 22122.0f,
        18770.0f, 15642.0f, 12778.0f, 10211.0f, 7964.0f, 6050.0f, 4464.0f, 3191.0f, 2201.0f, 1472.0f,
        960.0f, 606.0f, 362.0f, 196.0f, 88.0f, 29.0f, 6.0f, 0.0f, 0.0f, 0.0f,
    },
    {
        100000.0f, 98668.0f, 98594.0f, 98530.0f, 98470.0f, 98425.0f, 98389.0f, 98359.0f, 98333.0f, 98311.0f,
        98291.0f, 98269.0f, 98244.0f, 98213.0f, 98169.0f, 98105.0f, 98019.0f, 97913.0f, 97791.0f, 97658.0f,
        97518.0f, 97371.0f, 97221.0f, 97070.0f, 96922.0f, 96781.0f, 96648.0f, 96523.0f, 96402.0f, 96285.0f,
        96168.0f, 96052.0f, 95933.0f, 95810.0f, 95680.0f, 95540.0f, 95388.0f, 95222.0f, 95042.0f, 94845.0f,
        94632.0f, 94399.0f, 94144.0f, 93860.0f, 93543.0f, 93186.0f, 92787.0f, 92342.0f, 91847.0f, 91301.0f,
        90702.0f, 90046.0f, 89329.0f, 88544.0f, 87684.0f, 86747.0f, 85727.0f, 84620.0f, 83420.0f, 82128.0f,
        80741.0f, 79257.0f, 77669.0f, 75969.0f, 74151.0f, 72214.0f, 70155.0f, 67974.0f, 65666.0f, 63235.0f,
        60686.0f, 58025.0f, 55261.0f, 52400.0f, 49460.0f, 46462.0f, 43419.0f, 40343.0f, 37242.0f, 34133.0f,
        31044.0f, 27997.0f, 25014.0f, 22114.0f, 19326.0f, 16679.0f, 14199.0f, 11906.0f, 9817.0f, 7946.0f,
        6304.0f, 4893.0f, 3708.0f, 2735.0f, 1960.0f, 1360.0f, 911.0f, 587.0f, 362.0f, 215.0f,
        122.0f, 66.0f, 34.0f, 15.0f, 6.0f, 2.0f, 0.0f, 0.0f, 0.0f, 0.0f,
    },
    {
        100000.0f, 98909.0f, 98839.0f, 98781.0f, 98745.0f, 98712.0f, 98682.0f, 98657.0f, 98635.0f, 98615.0f,
        98597.0f, 98577.0f, 98558.0f, 98535.0f, 98510.0f, 98481.0f, 98447.0f, 98409.0f, 98367.0f, 98324.0f,
        98281.0f, 98237.0f, 98193.0f, 98148.0f, 98103.0f, 98056.0f, 98010.0f, 97961.0f, 97912.0f, 97860.0f,
        97806.0f, 97750.0f, 97690.0f, 97626.0f, 97555.0f, 97477.0f, 97391.0f, 97295.0f, 97189.0f, 97073.0f,
        96945.0f, 96804.0f, 96650.0f, 96479.0f, 96288.0f, 96077.0f, 95842.0f, 95583.0f, 95299.0f, 94991.0f,
        94659.0f, 94302.0f, 93917.0f, 93500.0f, 93045.0f, 92549.0f, 92010.0f, 91424.0f, 90789.0f, 90105.0f,
        89373.0f, 88588.0f, 87744.0f, 86831.0f, 85841.0f, 84771.0f, 83613.0f, 82358.0f, 80998.0f, 79527.0f,
        77943.0f, 76240.0f, 74407.0f, 72431.0f, 70310.0f, 68048.0f, 65639.0f, 63069.0f, 60323.0f, 57395.0f,
        54297.0f, 51038.0f, 47625.0f, 44067.0f, 40393.0f, 36646.0f, 32868.0f, 29104.0f, 25403.0f, 21822.0f,
        18423.0f, 15257.0f, 12371.0f, 9796.0f, 7557.0f, 5667.0f, 4118.0f, 2890.0f, 1951.0f, 1272.0f,
        803.0f, 488.0f, 278.0f, 144.0f, 61.0f, 19.0f, 4.0f, 0.0f, 0.0f, 0.0f,
    },
};
// clang-format on

namespace {

MortalityTable BuiltIn(const char* journalName, const char* dialogName, const char* commandName,
                       const float* living) {
    // float to double is exact: the built-in l values are the same numbers as ever.
    return {journalName, dialogName, commandName,
            0,           106,        std::vector<double>(living, living + 107)};
}

// Built-in tables first, then the imported ones. Entries are held by pointer so that a
// reference to a table stays valid while others are added or removed.
std::vector<std::unique_ptr<const MortalityTable>>& Tables() {
    static std::vector<std::unique_ptr<const MortalityTable>> tables = [] {
        std::vector<std::unique_ptr<const MortalityTable>> builtIn;
        builtIn.push_back(std::make_unique<const MortalityTable>(
            BuiltIn("National, male", "National, Male", "national-male", g_fLivingTables[0])));
        builtIn.push_back(std::make_unique<const MortalityTable>(BuiltIn(
            "National, female", "National, Female", "national-female", g_fLivingTables[1])));
        builtIn.push_back(std::make_unique<const MortalityTable>(
            BuiltIn("Regional, male", "Regional, Male", "regional-male", g_fLivingTables[2])));
        builtIn.push_back(std::make_unique<const MortalityTable>(BuiltIn(
            "Regional, female", "Regional, Female", "regional-female", g_fLivingTables[3])));
        return builtIn;
    }();
    return tables;
}

} // namespace

int MortalityTableCount() {
    return static_cast<int>(Tables().size());
}

const MortalityTable& MortalityTableOf(int code) {
    return *Tables()[static_cast<std::size_t>(code - 1)];
}

int AddMortalityTable(const std::string& name, int firstAge, std::span<const double> living) {
    const int lastAge = firstAge + static_cast<int>(living.size()) - 1;
    std::vector<double> byAge(static_cast<std::size_t>(lastAge + 1), 0.0);
    std::copy(living.begin(), living.end(), byAge.begin() + firstAge);
    // A control byte in the name (a line break in a file's name) would split the report
    // line that names the table; it becomes a blank.
    std::string shown = name;
    std::replace_if(
        shown.begin(), shown.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; }, ' ');
    Tables().push_back(std::make_unique<const MortalityTable>(
        MortalityTable{shown, shown, std::string(), firstAge, lastAge, std::move(byAge)}));
    return MortalityTableCount();
}

void RemoveMortalityTable(int code) {
    if (code > kTableCount && code <= MortalityTableCount())
        Tables().erase(Tables().begin() + (code - 1));
}
