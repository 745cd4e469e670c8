// Name-keyed access to the controls of the main window.
//
// The session and protocol logic work on the window through this interface,
// by the controls' names, which session/control_names.h spells (control-array
// elements are written name(index)). The window implements it over its
// widgets, tests over a plain map. Setters never raise event handlers: logic
// that must run a handler calls it itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kt::session {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

class FormView {
public:
    virtual ~FormView() = default;

    // Caption of a label, frame, button or option; Text of a text box or combo.
    virtual std::string text(std::string_view control) const = 0;
    virtual void setText(std::string_view control, std::string_view text) = 0;

    virtual bool enabled(std::string_view control) const = 0;
    virtual void setEnabled(std::string_view control, bool on) = 0;

    // The control's own Visible property (not whether its container shows).
    virtual bool visible(std::string_view control) const = 0;
    virtual void setVisible(std::string_view control, bool on) = 0;

    // Value of an option button.
    virtual bool checked(std::string_view option) const = 0;
    virtual void setChecked(std::string_view option, bool on) = 0;

    virtual bool bold(std::string_view control) const = 0;
    virtual void setBold(std::string_view control, bool on) = 0;

    virtual void setTextColour(std::string_view control, Rgb colour) = 0;

    // Combo boxes: ListIndex (-1 = none), List(i) and ListCount.
    virtual int listIndex(std::string_view combo) const = 0;
    virtual void setListIndex(std::string_view combo, int index) = 0;
    virtual int listCount(std::string_view combo) const = 0;
    virtual std::string listItem(std::string_view combo, int index) const = 0;

    // Tab property of SSTab1.
    virtual int currentTab() const = 0;
    virtual void setCurrentTab(int tab) = 0;

    virtual void setFocus(std::string_view control) = 0;

    // Names of all controls of the window that begin with prefix.
    virtual std::vector<std::string> controlNames(std::string_view prefix) const = 0;
};

} // namespace kt::session
