// The window and the names header agree: every name the header can build is
// a control of Form1, of the kind its prefix says, and every named widget of
// Form1 is a name the header knows. A name the view does not know is told.
#include "session/control_names.h"

#include <set>

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "window/form1.h"
#include "window/qt_form_view.h"

namespace kt::test {
namespace {

namespace controls = session::controls;

QWidget *named(window::Form1 &form, const std::string &name)
{
    if (name == controls::Form1)
        return &form;
    return form.findChild<QWidget *>(QString::fromStdString(name));
}

TEST(ControlNames, EveryNameTheHeaderBuildsIsAControlOfTheWindowOnce)
{
    window::Form1 form;
    const std::vector<std::string> names = controls::allNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    for (const std::string &name : names) {
        ASSERT_NE(named(form, name), nullptr) << name;
        EXPECT_EQ(form.findChildren<QWidget *>(QString::fromStdString(name)).size(),
                  name == controls::Form1 ? 0 : 1)
            << name;
    }
}

TEST(ControlNames, EveryNamedWidgetOfTheWindowIsOneTheHeaderKnows)
{
    window::Form1 form;
    const std::vector<std::string> names = controls::allNames();
    const std::set<std::string> known(names.begin(), names.end());
    EXPECT_TRUE(known.contains(form.objectName().toStdString()));
    for (const QWidget *w : form.findChildren<QWidget *>()) {
        const QString name = w->objectName();
        // Qt names the inner parts of its own widgets: a scroll area's
        // viewport, the tab bar's scroll buttons.
        if (name.isEmpty() || name.startsWith("qt_") || qobject_cast<QTabBar *>(w->parentWidget()))
            continue;
        EXPECT_TRUE(known.contains(name.toStdString())) << name.toStdString();
    }
}

TEST(ControlNames, TheKindPrefixOfANameIsTheKindOfItsWidget)
{
    // First matching prefix wins.
    const std::pair<const char *, std::vector<const char *>> kinds[] = {
        {"cmd", {"QPushButton"}},
        {"opt", {"QRadioButton"}},
        {"com_", {"QRadioButton"}},
        {"lbl", {"QLabel"}},
        {"ktLabel3", {"QLabel"}},
        {"Label", {"QLabel"}},
        {"tcpLBL", {"QLabel"}},
        {"tcp", {"QLineEdit"}},
        {"combo", {"QComboBox"}},
        {"Combo", {"QComboBox"}},
        {"frame", {"QGroupBox", "QFrame"}},
        {"txtLOG", {"QPlainTextEdit"}},
        {"txt", {"QLineEdit"}},
        {"Text", {"QLineEdit"}},
        {"SSTab", {"QTabWidget"}},
        {"Image", {"QLabel"}},
        {"Form", {"QWidget"}},
    };
    window::Form1 form;
    for (const std::string &name : controls::allNames()) {
        const auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                       [&](const auto &k) { return name.starts_with(k.first); });
        ASSERT_NE(kind, std::end(kinds)) << name << " has no kind prefix";
        const QWidget *w = named(form, name);
        ASSERT_NE(w, nullptr) << name;
        const bool fits = std::any_of(kind->second.begin(), kind->second.end(),
                                      [&](const char *type) { return w->inherits(type); });
        EXPECT_TRUE(fits) << name << " is a " << w->metaObject()->className();
    }
    EXPECT_TRUE(named(form, "frameCOM(0)")->inherits("QGroupBox"));
    EXPECT_FALSE(named(form, "frameSW1(0)")->inherits("QGroupBox")) << "a frame without border";
}

TEST(ControlNames, TheViewTellsEachUnknownNameOnceAndDoesNothingWithIt)
{
    window::Form1 form;
    std::vector<std::string> told;
    window::QtFormView view(form, [&](std::string_view name) { told.emplace_back(name); });
    ASSERT_TRUE(told.empty()) << told.front();

    view.setText("lblKT_INFO(8)", "KT-4000");
    EXPECT_EQ(view.text("lblKT_INFO(8)"), "");
    view.setEnabled("optSW5ON(0)", false);
    EXPECT_FALSE(view.enabled("optSW5ON(0)"));
    EXPECT_EQ(view.listCount("comboCodepage"), 0);
    EXPECT_EQ(told, (std::vector<std::string>{"lblKT_INFO(8)", "optSW5ON(0)", "comboCodepage"}));

    // A control the header names but the window lacks is told at once.
    delete form.findChild<QWidget *>("cmdHELP");
    told.clear();
    window::QtFormView missing(form, [&](std::string_view name) { told.emplace_back(name); });
    EXPECT_EQ(told, std::vector<std::string>{"cmdHELP"});
}

} // namespace
} // namespace kt::test
