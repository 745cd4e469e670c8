// Test doubles for the utility's seams: a form view over plain maps, a
// message sink that records and answers from a script, a clock that records
// its waits instead of sleeping.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "session/clock.h"
#include "session/form_view.h"
#include "session/messages.h"

namespace kt::test {

// Every control exists on first use: text "", enabled, visible, unchecked,
// not bold, combo without items and ListIndex -1. Tests seed what matters.
class FakeFormView : public session::FormView {
public:
    struct Control {
        std::string text;
        bool enabled = true;
        bool visible = true;
        bool checked = false;
        bool bold = false;
        session::Rgb colour{};
        int listIndex = -1;
        std::vector<std::string> items;
    };

    Control &at(std::string_view name) { return controls_[std::string(name)]; }
    const Control &at(std::string_view name) const { return controls_[std::string(name)]; }

    // Fills a combo box; setListIndex also sets the text, as a combo does.
    void setItems(std::string_view combo, std::vector<std::string> items);

    std::string text(std::string_view c) const override { return at(c).text; }
    void setText(std::string_view c, std::string_view t) override { at(c).text = std::string(t); }
    bool enabled(std::string_view c) const override { return at(c).enabled; }
    void setEnabled(std::string_view c, bool on) override { at(c).enabled = on; }
    bool visible(std::string_view c) const override { return at(c).visible; }
    void setVisible(std::string_view c, bool on) override { at(c).visible = on; }
    bool checked(std::string_view c) const override { return at(c).checked; }
    void setChecked(std::string_view c, bool on) override { at(c).checked = on; }
    bool bold(std::string_view c) const override { return at(c).bold; }
    void setBold(std::string_view c, bool on) override { at(c).bold = on; }
    void setTextColour(std::string_view c, session::Rgb colour) override { at(c).colour = colour; }
    int listIndex(std::string_view c) const override { return at(c).listIndex; }
    void setListIndex(std::string_view c, int index) override;
    int listCount(std::string_view c) const override
    {
        return static_cast<int>(at(c).items.size());
    }
    std::string listItem(std::string_view c, int index) const override;
    int currentTab() const override { return tab_; }
    void setCurrentTab(int tab) override { tab_ = tab; }
    void setFocus(std::string_view c) override { focus_ = std::string(c); }
    std::vector<std::string> controlNames(std::string_view prefix) const override;

    const std::string &focus() const { return focus_; }

private:
    mutable std::map<std::string, Control, std::less<>> controls_;
    int tab_ = 0;
    std::string focus_;
};

// Records every message and every text window; answers Yes/No from a
// queue (Yes when empty).
class RecordingMessages : public session::MessageSink {
public:
    struct Shown {
        std::string text;
        session::MessageIcon icon;
        session::MessageButtons buttons;
        std::string title;
    };

    session::MessageAnswer show(std::string_view text, session::MessageIcon icon,
                                session::MessageButtons buttons, std::string_view title) override;
    void showText(std::string_view title, std::string_view text) override
    {
        texts.push_back({std::string(title), std::string(text)});
    }

    std::vector<Shown> shown;
    std::vector<std::pair<std::string, std::string>> texts; // title, text
    std::deque<session::MessageAnswer> answers;
};

// Records waits; processEvents runs an optional hook (a test can deliver
// bytes or tick a timer there).
class FakeClock : public session::Clock {
public:
    void sleepMs(int ms) override { sleeps.push_back(ms); }
    void processEvents() override
    {
        ++eventRounds;
        if (onProcessEvents)
            onProcessEvents();
    }

    std::vector<int> sleeps;
    int eventRounds = 0;
    std::function<void()> onProcessEvents;
};

} // namespace kt::test
