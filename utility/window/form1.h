// The utility's one window, Form1: every control of the design, named by
// its control name (control-array elements "name(index)"). The window only
// shows and binds: user events go to the session's handlers and to the
// protocol's FormEvents; programmatic changes made inside a QuietScope
// raise nothing.
#pragma once

#include <QWidget>

namespace kt::session {
class FormHandlers;
}
namespace kt::protocol {
class FormEvents;
}

class QTabWidget;

namespace kt::window {

class ControlBuilder;

inline constexpr int kSwitchPages = 4;
inline constexpr int kBitsPerSwitch = 8;

class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1();
    // Unbinds and disconnects first: tearing the widgets down raises focus
    // events, and the handlers may already be gone.
    ~Form1() override;

    // Both may be null; events then go nowhere.
    void bind(session::FormHandlers *handlers, protocol::FormEvents *events);

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
    // Layout, one part each.
    void buildTopControls(const ControlBuilder &form);
    void buildSerialSettings(const ControlBuilder &form);
    void buildNetworkSettings(const ControlBuilder &form);
    void buildTabs(const ControlBuilder &form);
    void buildInformationPage(const ControlBuilder &page);
    void buildSwitchPage(const ControlBuilder &page, int switchNo);
    void buildAdditionalPage(const ControlBuilder &page);
    void buildLogPage(const ControlBuilder &page);

    // Events.
    void connectButtons();
    void connectPortList();
    void connectOptions();
    void connectCombos();
    void connectTabs();
    bool live() const { return quiet_ == 0; }

    session::FormHandlers *handlers_ = nullptr;
    protocol::FormEvents *events_ = nullptr;
    QTabWidget *tabs_ = nullptr;
    int shownTab_ = 0;
    int quiet_ = 0;
};

} // namespace kt::window
