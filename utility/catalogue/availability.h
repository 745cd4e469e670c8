// What the user may see and change for the connected model: which switch
// pages can be changed, which frames a tab shows, which buttons it enables,
// and which switches the communication test reads.
#pragma once

#include <string_view>
#include <vector>

namespace kt::catalogue {

// Soft switches 1 and 2 can be changed on every model, 3 and 4 only on the
// switch-3/4 models; any other switch number on none.
bool switchChangeable(int switchNo, std::string_view modelKey);

enum class Visibility { Show, Hide, Leave };

struct TabLayout {
    Visibility languageInfo = Visibility::Leave; // frameLanguageInfo
    Visibility switchPage = Visibility::Leave;   // frameSW<tab>m, tabs 1 to 4
    Visibility new8x16 = Visibility::Leave;      // tab 5 frames
    Visibility density = Visibility::Leave;
    Visibility thai = Visibility::Leave;
    bool communicateEnabled = false; // cmdCommunicate
    bool printTestsEnabled = false;  // cmd01, cmd02
    bool settingsEnabled = false;    // cmd1, cmd2
};

// Layout of the tab control's page `tab` for the model. The window hides
// the four switch pages first, then applies this; Leave keeps a frame as it
// is. sw4Bit8On and sw2Bit1On are the ON options of soft switch 4 bit 8 and
// soft switch 2 bit 1 as currently displayed (the page-1 rule looks at
// them). A tab outside 0 to 5 gets the layout of the log page.
TabLayout tabLayout(int tab, std::string_view modelKey, bool sw4Bit8On, bool sw2Bit1On);

// Read Settings: whether the switch page of tab 1 to 4 is read for the model
// (soft switch 1 also on the ZN models, 2 on every model).
bool readsSwitch(int switchNo, std::string_view modelKey);

// The communication test's switch queries for the model, in order. A
// conditional query is marked by its condition.
enum class QueryCondition { Always, IfSw4Bit8On, IfSw2Bit1On };
struct SwitchQuery {
    int switchNo;
    QueryCondition condition;
};
std::vector<SwitchQuery> communicationTestQueries(std::string_view modelKey);

} // namespace kt::catalogue
