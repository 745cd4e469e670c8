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
    const char *name;
    const char *caption;
    Twips at;
    bool selected;
};

// One group of options inside a captioned frame of frameCOM; exactly one
// of them is selected.
void optionGroup(const ControlBuilder &in, const char *frameName, const char *caption, Twips at,
                 std::initializer_list<OptionSpec> options)
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
    QLabel *logo = form.label("Image1", {}, {120, 240, 4230, 1080}, style::form());
    logo->setPixmap(logoPicture());

    form.label("lblPORT", "Printer port selection:", {5280, 0, 2412, 252}, style::portLabel());
    QComboBox *ports
        = form.combo("Combo1", {7800, 0, 1575, 360}, portList(), true, style::calibri());
    ports->setCurrentIndex(ports->findText("COM1"));
    style::setTextColour(ports, style::kBlue);

    struct ButtonSpec {
        const char *name;
        const char *caption;
        int left, width;
        bool enabled;
    };
    constexpr ButtonSpec buttons[] = {
        {"cmdCommunicate", "Communication Test", 240, 1815, true},
        {"cmd01", "Self Test", 2040, 975, false},
        {"cmd02", "Fonts Test", 3000, 975, false},
        {"cmd1", "Read Settings", 4080, 1815, false},
        {"cmd2", "Write Settings", 5880, 1815, false},
        {"cmdEXIT", "EXIT", 7800, 1815, true},
        {"cmdHELP", "HELP", 9600, 1815, true},
    };
    for (const ButtonSpec &b : buttons) {
        QPushButton *button = form.button(b.name, b.caption, {b.left, 6840, b.width, 735});
        button->setEnabled(b.enabled);
    }
}

void Form1::buildSerialSettings(const ControlBuilder &form)
{
    QGroupBox *frame = form.frame("frameCOMm", {}, {5160, 360, 5655, 1215});
    const ControlBuilder in = form.into(frame);
    optionGroup(in, "frameCOM(0)", "BaudRate", {0, 0, 2295, 1215},
                {{"com_BR_9600", "9600", {120, 360, 975, 255}, false},
                 {"com_BR_19200", "19200", {1200, 360, 975, 255}, false},
                 {"com_BR_38400", "38400", {120, 720, 975, 255}, false},
                 {"com_BR_115200", "115200", {1200, 720, 975, 255}, true}});
    optionGroup(in, "frameCOM(1)", "Handshaking", {2280, 0, 1695, 1215},
                {{"com_HS_HW", "DTR/DSR", {240, 360, 1335, 255}, true},
                 {"com_HS_SW", "XON/XOFF", {240, 720, 1335, 255}, false}});
    optionGroup(in, "frameCOM(2)", "ParityCheck", {3960, 0, 1695, 1215},
                {{"com_PK_NONE", "NONE", {240, 360, 1335, 255}, true},
                 {"com_PK_EVEN", "EVEN", {240, 720, 1335, 255}, false}});
}

void Form1::buildNetworkSettings(const ControlBuilder &form)
{
    QGroupBox *frame = form.frame("frameTCPIP", {}, {5280, 360, 5415, 1215});
    frame->setVisible(false);
    const ControlBuilder in = form.into(frame);
    in.label("tcpLBL1", "IP Address: ", {240, 240, 1335, 255}, style::calibri());
    QLineEdit *address
        = in.textBox("tcpIP", "192.168.192.168", {1800, 180, 1935, 420}, style::calibri());
    style::setTextColour(address, style::kBlue);
    in.label("tcpLBL2", "Listen Port: ", {240, 720, 1335, 255}, style::calibri());
    QLineEdit *port = in.textBox("tcpListenPort", "9100", {1800, 660, 855, 420}, style::calibri());
    style::setTextColour(port, style::kBlue);
    in.button("cmdSTATUS", "STATUS", {3840, 240, 1095, 420});
    QLineEdit *status = in.textBox("txtSTATUS", {}, {2760, 660, 2055, 420}, style::calibri());
    status->setReadOnly(true);
    status->setFocusPolicy(Qt::NoFocus);
    style::setBackground(status, style::kLightGrey);
}

} // namespace kt::window
