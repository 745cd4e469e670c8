#include "window/form1.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "kt_build_info.h"
#include "session/form_events.h"
#include "window/artwork.h"
#include "window/control_builder.h"
#include "window/window_style.h"

namespace kt::window {
namespace {

constexpr int kClientWidthTwips = 11640;
constexpr int kClientHeightTwips = 7650;

} // namespace

Form1::Form1()
{
    setObjectName(QString::fromLatin1(controls::Form1.data(), controls::Form1.size()));
    setWindowTitle("Printer Software Switch Utility v" KT_VERSION);
    setWindowIcon(programIcon());
    setFont(style::form());
    setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);

    const ControlBuilder form(this);
    buildTopControls(form);
    buildSerialSettings(form);
    buildNetworkSettings(form);
    buildTabs(form);

    connectButtons();
    connectPortList();
    connectOptions();
    connectCombos();
    connectTabs();
}

Form1::~Form1()
{
    bind(nullptr);
    // The handlers are lambdas of this window: none may run once it is
    // only a QWidget being torn down.
    for (QObject *child : findChildren<QObject *>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

void Form1::bind(session::FormEvents *events) { events_ = events; }

void Form1::closeEvent(QCloseEvent *event)
{
    if (events_)
        events_->Form_Unload();
    event->accept();
}

void Form1::connectButtons()
{
    using session::FormEvents;
    const std::pair<QPushButton *, void (FormEvents::*)()> buttons[] = {
        {cmdCommunicate_, &FormEvents::cmdCommunicate_Click},
        {cmd01_, &FormEvents::cmd01_Click},
        {cmd02_, &FormEvents::cmd02_Click},
        {cmd1_, &FormEvents::cmd1_Click},
        {cmd2_, &FormEvents::cmd2_Click},
        {cmdEXIT_, &FormEvents::cmdEXIT_Click},
        {cmdHELP_, &FormEvents::cmdHELP_Click},
        {cmdSTATUS_, &FormEvents::cmdSTATUS_Click},
        {cmdCLEARlst_, &FormEvents::cmdCLEARlst_Click},
    };
    for (const auto &[button, handler] : buttons) {
        connect(button, &QPushButton::clicked, this, [this, handler = handler] {
            if (events_)
                (events_->*handler)();
        });
    }
}

void Form1::connectPortList()
{
    const auto click = [this] {
        if (live() && events_)
            events_->Combo1_Click();
    };
    connect(Combo1_, &QComboBox::activated, this, click);
    // A port typed into the list (a device path) counts once the typing is
    // done; taking the same port again changes nothing.
    connect(Combo1_->lineEdit(), &QLineEdit::editingFinished, this, click);
}

void Form1::connectOptions()
{
    for (int sw = 1; sw <= controls::kSwitchCount; ++sw) {
        for (int index = 0; index < controls::kBitsPerSwitch; ++index) {
            for (bool on : {true, false}) {
                const SwitchOptions &options = on ? optSWON_ : optSWOFF_;
                QRadioButton *option = options[sw - 1][index];
                // Every click counts, also one on the option already
                // selected: the page is then marked changed all the same.
                connect(option, &QRadioButton::clicked, this, [this, sw, index, on] {
                    if (live() && events_)
                        events_->optSW_Click(sw, index, on);
                });
            }
        }
    }
}

void Form1::connectCombos()
{
    for (const auto &[name, combo] : additionalSwitchCombos_) {
        connect(combo, &QComboBox::activated, this, [this, name = name] {
            if (live() && events_)
                events_->combo_Click(name);
        });
    }
}

void Form1::connectTabs()
{
    connect(SSTab1_, &QTabWidget::currentChanged, this, [this](int tab) {
        const int previous = shownTab_;
        shownTab_ = tab;
        if (live() && events_)
            events_->SSTab1_Click(previous);
    });
}

} // namespace kt::window
