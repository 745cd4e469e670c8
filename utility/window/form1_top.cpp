// Form1: the controls outside the tab control, the serial settings and the
// network settings.
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "window/artwork.h"
#include "window/control_builder.h"
#include "window/form1.h"
#include "window/window_style.h"

namespace kt::window {
namespace {

QStringList portList()
{
    QStringList ports{"TCP/IP", "LPT1", "USB"};
    for (int n = 1; n <= 16; ++n)
        ports << QString("COM%1").arg(n);
    return ports;
}

struct OptionSpec {
    std::string_view name;
    const char *caption;
    Twips at;
    bool selected;
};

// One group of options inside a captioned frame of frameCOM; exactly one
// of them is selected.
void optionGroup(const ControlBuilder &in, std::string_view frameName, const char *caption,
                 Twips at, std::initializer_list<OptionSpec> options)
{
    QGroupBox *frame = in.frame(frameName, caption, at);
    const ControlBuilder inside = in.into(frame);
    auto *group = new QButtonGroup(frame);
    for (const OptionSpec &o : options) {
        QRadioButton *option = inside.option(o.name, o.caption, o.at);
        group->addButton(option);
        option->setChecked(o.selected);
    }
}

} // namespace

void Form1::buildTopControls(const ControlBuilder &form)
{
    QLabel *logo = form.label(controls::Image1, {}, {120, 240, 4230, 1080}, style::form());
    logo->setPixmap(logoPicture());

    form.label(controls::lblPORT, "Printer port selection:", {5280, 0, 2412, 252},
               style::portLabel());
    Combo1_
        = form.combo(controls::Combo1, {7800, 0, 1575, 360}, portList(), true, style::calibri());
    Combo1_->setCurrentIndex(Combo1_->findText("COM1"));
    style::setTextColour(Combo1_, style::kBlue);

    struct ButtonSpec {
        std::string_view name;
        QPushButton *Form1::*member;
        const char *caption;
        int left, width;
        bool enabled;
    };
    const ButtonSpec buttons[] = {
        {controls::cmdCommunicate, &Form1::cmdCommunicate_, "Communication Test", 240, 1815, true},
        {controls::cmd01, &Form1::cmd01_, "Self Test", 2040, 975, false},
        {controls::cmd02, &Form1::cmd02_, "Fonts Test", 3000, 975, false},
        {controls::cmd1, &Form1::cmd1_, "Read Settings", 4080, 1815, false},
        {controls::cmd2, &Form1::cmd2_, "Write Settings", 5880, 1815, false},
        {controls::cmdEXIT, &Form1::cmdEXIT_, "EXIT", 7800, 1815, true},
        {controls::cmdHELP, &Form1::cmdHELP_, "HELP", 9600, 1815, true},
    };
    for (const ButtonSpec &b : buttons) {
        QPushButton *button = form.button(b.name, b.caption, {b.left, 6840, b.width, 735});
        button->setEnabled(b.enabled);
        this->*b.member = button;
    }
}

void Form1::buildSerialSettings(const ControlBuilder &form)
{
    QGroupBox *frame = form.frame(controls::frameCOMm, {}, {5160, 360, 5655, 1215});
    const ControlBuilder in = form.into(frame);
    optionGroup(in, controls::frameCOM(0), "BaudRate", {0, 0, 2295, 1215},
                {{controls::com_BR_9600, "9600", {120, 360, 975, 255}, false},
                 {controls::com_BR_19200, "19200", {1200, 360, 975, 255}, false},
                 {controls::com_BR_38400, "38400", {120, 720, 975, 255}, false},
                 {controls::com_BR_115200, "115200", {1200, 720, 975, 255}, true}});
    optionGroup(in, controls::frameCOM(1), "Handshaking", {2280, 0, 1695, 1215},
                {{controls::com_HS_HW, "DTR/DSR", {240, 360, 1335, 255}, true},
                 {controls::com_HS_SW, "XON/XOFF", {240, 720, 1335, 255}, false}});
    optionGroup(in, controls::frameCOM(2), "ParityCheck", {3960, 0, 1695, 1215},
                {{controls::com_PK_NONE, "NONE", {240, 360, 1335, 255}, true},
                 {controls::com_PK_EVEN, "EVEN", {240, 720, 1335, 255}, false}});
}

void Form1::buildNetworkSettings(const ControlBuilder &form)
{
    QGroupBox *frame = form.frame(controls::frameTCPIP, {}, {5280, 360, 5415, 1215});
    frame->setVisible(false);
    const ControlBuilder in = form.into(frame);
    in.label(controls::tcpLBL1, "IP Address: ", {240, 240, 1335, 255}, style::calibri());
    QLineEdit *address
        = in.textBox(controls::tcpIP, "192.168.192.168", {1800, 180, 1935, 420}, style::calibri());
    style::setTextColour(address, style::kBlue);
    in.label(controls::tcpLBL2, "Listen Port: ", {240, 720, 1335, 255}, style::calibri());
    QLineEdit *port
        = in.textBox(controls::tcpListenPort, "9100", {1800, 660, 855, 420}, style::calibri());
    style::setTextColour(port, style::kBlue);
    cmdSTATUS_ = in.button(controls::cmdSTATUS, "STATUS", {3840, 240, 1095, 420});
    QLineEdit *status
        = in.textBox(controls::txtSTATUS, {}, {2760, 660, 2055, 420}, style::calibri());
    status->setReadOnly(true);
    status->setFocusPolicy(Qt::NoFocus);
    style::setBackground(status, style::kLightGrey);
}

} // namespace kt::window
