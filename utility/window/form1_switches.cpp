// Form1: the four switch pages. Bit k of switch n has the options
// optSWnON(k-1) and optSWnOFF(k-1), a pair of its own, and the meaning
// label lblSWnFunction(k-1). Bit 1's pair sits in the page frame itself,
// the pairs of bits 2 to 8 in the frames frameSWn(k-2).
#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "catalogue/switch_page.h"
#include "window/control_builder.h"
#include "window/form1.h"
#include "window/window_style.h"

namespace kt::window {
namespace {

constexpr Twips kFunctionSize{0, 0, 5055, 375};

QLabel *functionLabel(const ControlBuilder &in, int sw, int index, int left, int top)
{
    const std::string caption = catalogue::designTimeCaption(sw, index);
    QLabel *label
        = in.label(controls::lblSWFunction(sw, index), QString::fromLatin1(caption.c_str()),
                   {left, top, kFunctionSize.width, kFunctionSize.height}, style::calibri());
    label->setWordWrap(true);
    return label;
}

} // namespace

// The ON and OFF options of one bit as an exclusive pair, OFF selected.
void Form1::optionPair(const ControlBuilder &in, int sw, int index, int left, int top)
{
    QRadioButton *on = in.option(controls::optSWON(sw, index), QString("%1: ON").arg(index + 1),
                                 {left, top, 1095, 300});
    QRadioButton *off = in.option(controls::optSWOFF(sw, index), QString("%1: OFF").arg(index + 1),
                                  {left + 1560, top, 1335, 300});
    auto *pair = new QButtonGroup(in.container());
    pair->addButton(on);
    pair->addButton(off);
    off->setChecked(true);
    optSWON_[sw - 1][index] = on;
    optSWOFF_[sw - 1][index] = off;
}

void Form1::buildSwitchPage(const ControlBuilder &page, int sw)
{
    QGroupBox *frame = page.frame(controls::frameSWm(sw), {}, {240, 720, 10935, 4095});
    frame->setVisible(false);
    const ControlBuilder in = page.into(frame);

    in.label(controls::switchTitle(sw), QString("SW%1").arg(sw), {360, 240, 735, 300},
             style::title());

    optionPair(in, sw, 0, 1320, 240);
    functionLabel(in, sw, 0, 4440, 240);

    QFrame *bit2 = in.plainFrame(controls::frameSW(sw, 0), {840, 600, 3615, 495});
    optionPair(in.into(bit2), sw, 1, 480, 120);
    functionLabel(in, sw, 1, 4440, 720);

    for (int k = 3; k <= controls::kBitsPerSwitch; ++k) {
        QFrame *row
            = in.plainFrame(controls::frameSW(sw, k - 2), {840, 1080 + 480 * (k - 3), 8700, 495});
        optionPair(in.into(row), sw, k - 1, 480, 120);
        functionLabel(in.into(row), sw, k - 1, 3600, 120);
    }
}

} // namespace kt::window
