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
    const char *captionName;
    const char *caption;
    int captionLeft;
    const char *valueName;
    int valueLeft;
    int top;
};

void infoRows(const ControlBuilder &frame, std::initializer_list<InfoRow> rows, int valueWidth)
{
    for (const InfoRow &r : rows) {
        const int captionWidth = r.valueLeft - r.captionLeft - 60;
        QLabel *caption = frame.label(r.captionName, r.caption,
                                      {r.captionLeft, r.top, captionWidth, 300}, style::calibri());
        if (QString(r.captionName).startsWith("ktLabel3"))
            style::setBackground(caption, style::kLightPeach);
        QLabel *value
            = frame.label(r.valueName, " ", {r.valueLeft, r.top, valueWidth, 300}, style::title());
        style::setTextColour(value, style::kBlue);
    }
}

// A frame of the additional switches: a prompt in a text box with the
// button face as background, and a combo box.
QComboBox *promptedCombo(const ControlBuilder &frame, const char *promptName, const char *prompt,
                         Twips promptAt, const char *comboName, Twips comboAt,
                         const QStringList &items)
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
    tabs_ = new QTabWidget(this);
    form.place(tabs_, "SSTab1", {120, 1680, 11472, 4992});
    tabs_->setFont(style::calibri());
    // A point smaller on the tabs themselves, so that seven fit in one row.
    QFont tabFont = style::calibri();
    tabFont.setPointSizeF(10);
    tabs_->tabBar()->setFont(tabFont);
    tabs_->tabBar()->setExpanding(true);
    tabs_->tabBar()->setUsesScrollButtons(false);
    tabs_->tabBar()->setElideMode(Qt::ElideNone);
    tabs_->setVisible(false);

    const char *captions[]
        = {"Printer Infomation", "Soft_Switch 1",          "Soft_Switch 2", "Soft_Switch 3",
           "Soft_Switch 4",      "Additional Soft_Switch", "Log History"};
    for (int tab = 0; tab < 7; ++tab) {
        auto *page = new QWidget;
        page->setObjectName(QString("SSTab1_page%1").arg(tab));
        tabs_->addTab(page, captions[tab]);
        const ControlBuilder on(page, kTabRowTwips);
        if (tab == 0)
            buildInformationPage(on);
        else if (tab <= kSwitchPages)
            buildSwitchPage(on, tab);
        else if (tab == 5)
            buildAdditionalPage(on);
        else
            buildLogPage(on);
    }
    tabs_->setCurrentIndex(0);
}

void Form1::buildInformationPage(const ControlBuilder &page)
{
    QGroupBox *printer
        = page.frame("framePrinterInfo", " Printer Information", {240, 840, 10455, 1935});
    infoRows(page.into(printer),
             {{"lblINFO(0)", "Model Name: ", 1080, "lblKT_INFO(0)", 3000, 360},
              {"lblINFO(1)", "Firmware Revision: ", 1080, "lblKT_INFO(1)", 3000, 720},
              {"lblINFO(2)", "Hours Powered: ", 1080, "lblKT_INFO(2)", 3000, 1080},
              {"ktLabel3(22)", "LinePrinted: ", 1080, "lblKT_INFO(6)", 3000, 1440}},
             2400);
    infoRows(page.into(printer),
             {{"lblINFO(4)", "Serial Number: ", 5520, "lblKT_INFO(4)", 7200, 360},
              {"ktLabel3(10)", "InstallationDate: ", 5520, "lblKT_INFO(5)", 7200, 720},
              {"lblINFO(3)", "Cut Paper Count: ", 5280, "lblKT_INFO(3)", 7200, 1080},
              {"ktLabel3(17)", "FailedPaperCut: ", 5520, "lblKT_INFO(7)", 7200, 1440}},
             3000);

    QGroupBox *language
        = page.frame("frameLanguageInfo", "Language Information", {240, 2880, 10455, 1935});
    language->setVisible(false);
    infoRows(page.into(language),
             {{"lblINFO(12)", "Language Model: ", 360, "lblLANG_INFO(0)", 3000, 360},
              {"lblINFO(15)", "Font ROM:  ", 360, "lblLANG_INFO(1)", 3000, 720},
              {"lblINFO(13)", "Code Page: ", 360, "lblLANG_INFO(2)", 3000, 1080},
              {"lblINFO(14)", "International Character Set: ", 360, "lblLANG_INFO(3)", 3000, 1440}},
             3240);
    infoRows(page.into(language),
             {{"lblINFO(11)", "Print Density: ", 6360, "lblLANG_INFO(4)", 8160, 240},
              {"lblINFO(10)", "New 8x16 Font: ", 6360, "lblLANG_INFO(5)", 8160, 600},
              {"lblINFO(5)", "Thai 1Pass/3Pass: ", 6360, "lblLANG_INFO(6)", 8040, 960}},
             2160);
}

void Form1::buildAdditionalPage(const ControlBuilder &page)
{
    using namespace kt::protocol;
    QGroupBox *cp = page.frame("frameChangeCP", "Change default language", {360, 2760, 6255, 1815});
    const ControlBuilder in = page.into(cp);
    promptedCombo(in, "Text4", "Select Code Page: ", {840, 360, 1740, 315}, "comboCodePage",
                  {2640, 360, 3375, 315}, itemsOf(kCodePageItems));
    QComboBox *names = in.combo("comboCodePageName", {2640, 720, 3375, 315},
                                itemsOf(kCodePageNameItems), false, style::arialSmall());
    names->setEnabled(false);
    promptedCombo(in, "Text7", "International Character Set: ", {120, 1200, 2460, 315},
                  "comboInterChars", {2640, 1200, 2415, 315}, itemsOf(kInterCharsItems));

    struct SmallFrame {
        const char *frame, *caption;
        int top;
        const char *prompt, *promptText, *combo;
        int row;
        QStringList items;
    };
    const SmallFrame frames[] = {
        {"frameDensity", "Print Density", 1680, "Text2", "Select print density : ", "comboDensity",
         360, itemsOf(kDensityItems)},
        {"frameTHAI", "Thai Font Pass", 2736, "Text5", "Thai 1Pass or 3Pass: ", "comboTHAI", 360,
         itemsOf(kThaiItems)},
        {"frameNew8x16", "New 8x16 Font", 3696, "Text3", "Select New 8x16 font : ", "comboNew8x16",
         240, itemsOf(kNew8x16Items)},
    };
    for (const SmallFrame &f : frames) {
        QGroupBox *frame = page.frame(f.frame, f.caption, {6720, f.top, 4095, 855});
        promptedCombo(page.into(frame), f.prompt, f.promptText, {120, f.row, 1980, 315}, f.combo,
                      {2160, f.row, 1815, 315}, f.items);
    }
}

void Form1::buildLogPage(const ControlBuilder &page)
{
    auto *log = new QPlainTextEdit(page.container());
    page.place(log, "txtLOG", {360, 840, 9612, 3972});
    log->setFont(style::calibri());
    log->setReadOnly(true);
    log->setLineWrapMode(QPlainTextEdit::NoWrap);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    style::setTextColour(log, style::kDarkBlue);
    page.button("cmdCLEARlst", "Clear", {10080, 840, 855, 375});
}

} // namespace kt::window
