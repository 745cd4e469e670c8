// Form1: the tab control and its information, additional-switch and log
// pages.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>

#include "protocol/language_lists.h"
#include "window/control_builder.h"
#include "window/form1.h"
#include "window/window_style.h"

namespace kt::window {
namespace {

// Positions on the pages are given relative to the tab control; its row of
// tabs takes this much of the top.
constexpr int kTabRowTwips = 500;

template <std::size_t N> QStringList itemsOf(const std::array<std::string_view, N> &items)
{
    QStringList list;
    for (std::string_view item : items)
        list << QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size()));
    return list;
}

struct InfoRow {
    std::string captionName;
    const char *caption;
    int captionLeft;
    std::string valueName;
    int valueLeft;
    int top;
    // The captions of the ktLabel3 array stand on a light peach background.
    bool peach = false;
};

void infoRows(const ControlBuilder &frame, std::initializer_list<InfoRow> rows, int valueWidth)
{
    for (const InfoRow &r : rows) {
        const int captionWidth = r.valueLeft - r.captionLeft - 60;
        QLabel *caption = frame.label(r.captionName, r.caption,
                                      {r.captionLeft, r.top, captionWidth, 300}, style::calibri());
        if (r.peach)
            style::setBackground(caption, style::kLightPeach);
        QLabel *value
            = frame.label(r.valueName, " ", {r.valueLeft, r.top, valueWidth, 300}, style::title());
        style::setTextColour(value, style::kBlue);
    }
}

// A frame of the additional switches: a prompt in a text box with the
// button face as background, and a combo box.
QComboBox *promptedCombo(const ControlBuilder &frame, std::string_view promptName,
                         const char *prompt, Twips promptAt, std::string_view comboName,
                         Twips comboAt, const QStringList &items)
{
    QLineEdit *text = frame.textBox(promptName, prompt, promptAt, style::arialSmall());
    text->setReadOnly(true);
    text->setFrame(false);
    text->setFocusPolicy(Qt::NoFocus);
    style::setBackground(text, text->palette().color(QPalette::Button));
    return frame.combo(comboName, comboAt, items, false, style::arialSmall());
}

} // namespace

void Form1::buildTabs(const ControlBuilder &form)
{
    SSTab1_ = new QTabWidget(this);
    form.place(SSTab1_, controls::SSTab1, {120, 1680, 11472, 4992});
    SSTab1_->setFont(style::calibri());
    // A point smaller on the tabs themselves, so that seven fit in one row.
    QFont tabFont = style::calibri();
    tabFont.setPointSizeF(10);
    SSTab1_->tabBar()->setFont(tabFont);
    SSTab1_->tabBar()->setExpanding(true);
    SSTab1_->tabBar()->setUsesScrollButtons(false);
    SSTab1_->tabBar()->setElideMode(Qt::ElideNone);
    SSTab1_->setVisible(false);

    const char *captions[]
        = {"Printer Infomation", "Soft_Switch 1",          "Soft_Switch 2", "Soft_Switch 3",
           "Soft_Switch 4",      "Additional Soft_Switch", "Log History"};
    for (int tab = 0; tab < 7; ++tab) {
        // The pages are no controls of their own: they have no name.
        auto *page = new QWidget;
        SSTab1_->addTab(page, captions[tab]);
        const ControlBuilder on(page, kTabRowTwips);
        if (tab == 0)
            buildInformationPage(on);
        else if (tab <= controls::kSwitchCount)
            buildSwitchPage(on, tab);
        else if (tab == 5)
            buildAdditionalPage(on);
        else
            buildLogPage(on);
    }
    SSTab1_->setCurrentIndex(0);
}

void Form1::buildInformationPage(const ControlBuilder &page)
{
    using controls::ktLabel3;
    using controls::lblINFO;
    using controls::lblKT_INFO;
    using controls::lblLANG_INFO;
    QGroupBox *printer
        = page.frame(controls::framePrinterInfo, " Printer Information", {240, 840, 10455, 1935});
    infoRows(page.into(printer),
             {{lblINFO(0), "Model Name: ", 1080, lblKT_INFO(0), 3000, 360},
              {lblINFO(1), "Firmware Revision: ", 1080, lblKT_INFO(1), 3000, 720},
              {lblINFO(2), "Hours Powered: ", 1080, lblKT_INFO(2), 3000, 1080},
              {ktLabel3(22), "LinePrinted: ", 1080, lblKT_INFO(6), 3000, 1440, true}},
             2400);
    infoRows(page.into(printer),
             {{lblINFO(4), "Serial Number: ", 5520, lblKT_INFO(4), 7200, 360},
              {ktLabel3(10), "InstallationDate: ", 5520, lblKT_INFO(5), 7200, 720, true},
              {lblINFO(3), "Cut Paper Count: ", 5280, lblKT_INFO(3), 7200, 1080},
              {ktLabel3(17), "FailedPaperCut: ", 5520, lblKT_INFO(7), 7200, 1440, true}},
             3000);

    QGroupBox *language
        = page.frame(controls::frameLanguageInfo, "Language Information", {240, 2880, 10455, 1935});
    language->setVisible(false);
    infoRows(page.into(language),
             {{lblINFO(12), "Language Model: ", 360, lblLANG_INFO(0), 3000, 360},
              {lblINFO(15), "Font ROM:  ", 360, lblLANG_INFO(1), 3000, 720},
              {lblINFO(13), "Code Page: ", 360, lblLANG_INFO(2), 3000, 1080},
              {lblINFO(14), "International Character Set: ", 360, lblLANG_INFO(3), 3000, 1440}},
             3240);
    infoRows(page.into(language),
             {{lblINFO(11), "Print Density: ", 6360, lblLANG_INFO(4), 8160, 240},
              {lblINFO(10), "New 8x16 Font: ", 6360, lblLANG_INFO(5), 8160, 600},
              {lblINFO(5), "Thai 1Pass/3Pass: ", 6360, lblLANG_INFO(6), 8040, 960}},
             2160);
}

void Form1::buildAdditionalPage(const ControlBuilder &page)
{
    using namespace kt::protocol;
    QGroupBox *cp
        = page.frame(controls::frameChangeCP, "Change default language", {360, 2760, 6255, 1815});
    const ControlBuilder in = page.into(cp);
    const auto keep = [this](std::string_view name, QComboBox *combo) {
        additionalSwitchCombos_.emplace_back(name, combo);
    };
    keep(controls::comboCodePage,
         promptedCombo(in, controls::Text4, "Select Code Page: ", {840, 360, 1740, 315},
                       controls::comboCodePage, {2640, 360, 3375, 315}, itemsOf(kCodePageItems)));
    QComboBox *names = in.combo(controls::comboCodePageName, {2640, 720, 3375, 315},
                                itemsOf(kCodePageNameItems), false, style::arialSmall());
    names->setEnabled(false);
    keep(controls::comboCodePageName, names);
    keep(controls::comboInterChars,
         promptedCombo(in, controls::Text7, "International Character Set: ", {120, 1200, 2460, 315},
                       controls::comboInterChars, {2640, 1200, 2415, 315},
                       itemsOf(kInterCharsItems)));

    struct SmallFrame {
        std::string_view frame;
        const char *caption;
        int top;
        std::string_view prompt;
        const char *promptText;
        std::string_view combo;
        int row;
        QStringList items;
    };
    const SmallFrame frames[] = {
        {controls::frameDensity, "Print Density", 1680, controls::Text2,
         "Select print density : ", controls::comboDensity, 360, itemsOf(kDensityItems)},
        {controls::frameTHAI, "Thai Font Pass", 2736, controls::Text5,
         "Thai 1Pass or 3Pass: ", controls::comboTHAI, 360, itemsOf(kThaiItems)},
        {controls::frameNew8x16, "New 8x16 Font", 3696, controls::Text3,
         "Select New 8x16 font : ", controls::comboNew8x16, 240, itemsOf(kNew8x16Items)},
    };
    for (const SmallFrame &f : frames) {
        QGroupBox *frame = page.frame(f.frame, f.caption, {6720, f.top, 4095, 855});
        keep(f.combo,
             promptedCombo(page.into(frame), f.prompt, f.promptText, {120, f.row, 1980, 315},
                           f.combo, {2160, f.row, 1815, 315}, f.items));
    }
}

void Form1::buildLogPage(const ControlBuilder &page)
{
    auto *log = new QPlainTextEdit(page.container());
    page.place(log, controls::txtLOG, {360, 840, 9612, 3972});
    log->setFont(style::calibri());
    log->setReadOnly(true);
    log->setLineWrapMode(QPlainTextEdit::NoWrap);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    style::setTextColour(log, style::kDarkBlue);
    cmdCLEARlst_ = page.button(controls::cmdCLEARlst, "Clear", {10080, 840, 855, 375});
}

} // namespace kt::window
