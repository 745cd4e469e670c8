// The utility's one window, Form1: every control of the design, each widget
// named by its control name (session/control_names.h). The window only
// shows and binds: user events are raised through session::FormEvents;
// programmatic changes made inside a QuietScope raise nothing.
#pragma once

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include <QWidget>

#include "session/control_names.h"

namespace kt::session {
class FormEvents;
}

class QComboBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kt::window {

class ControlBuilder;

namespace controls = session::controls;

class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1();
    // Unbinds and disconnects first: tearing the widgets down raises focus
    // events, and the handlers may already be gone.
    ~Form1() override;

    // May be null; events then go nowhere.
    void bind(session::FormEvents *events);

    // While one lives, widget signals do not reach the handlers.
    class QuietScope {
    public:
        explicit QuietScope(Form1 &form) : form_(form) { ++form_.quiet_; }
        ~QuietScope() { --form_.quiet_; }
        QuietScope(const QuietScope &) = delete;
        QuietScope &operator=(const QuietScope &) = delete;

    private:
        Form1 &form_;
    };

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // One option of every bit of every switch page: [switch - 1][bit - 1].
    using SwitchOptions
        = std::array<std::array<QRadioButton *, controls::kBitsPerSwitch>, controls::kSwitchCount>;

    // Layout, one part each.
    void buildTopControls(const ControlBuilder &form);
    void buildSerialSettings(const ControlBuilder &form);
    void buildNetworkSettings(const ControlBuilder &form);
    void buildTabs(const ControlBuilder &form);
    void buildInformationPage(const ControlBuilder &page);
    void buildSwitchPage(const ControlBuilder &page, int switchNo);
    void optionPair(const ControlBuilder &in, int switchNo, int index, int left, int top);
    void buildAdditionalPage(const ControlBuilder &page);
    void buildLogPage(const ControlBuilder &page);

    // Events.
    void connectButtons();
    void connectPortList();
    void connectOptions();
    void connectCombos();
    void connectTabs();
    bool live() const { return quiet_ == 0; }

    session::FormEvents *events_ = nullptr;
    int shownTab_ = 0;
    int quiet_ = 0;

    // The controls that raise events.
    QComboBox *Combo1_ = nullptr;
    QTabWidget *SSTab1_ = nullptr;
    QPushButton *cmdCommunicate_ = nullptr;
    QPushButton *cmd01_ = nullptr;
    QPushButton *cmd02_ = nullptr;
    QPushButton *cmd1_ = nullptr;
    QPushButton *cmd2_ = nullptr;
    QPushButton *cmdEXIT_ = nullptr;
    QPushButton *cmdHELP_ = nullptr;
    QPushButton *cmdSTATUS_ = nullptr;
    QPushButton *cmdCLEARlst_ = nullptr;
    SwitchOptions optSWON_{};
    SwitchOptions optSWOFF_{};
    // The combo boxes of the additional switches, with their names.
    std::vector<std::pair<std::string_view, QComboBox *>> additionalSwitchCombos_;
};

} // namespace kt::window
