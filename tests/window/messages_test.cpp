// The message boxes: title, icon, buttons, plain text and the answer.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

#include "window/qt_messages.h"

namespace kt::test {
namespace {

using session::MessageAnswer;
using session::MessageButtons;
using session::MessageIcon;

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::StandardButtons buttons;
};

// Shows one box and answers it with `press` as soon as it is up.
MessageAnswer showAndAnswer(std::string_view text, MessageIcon icon, MessageButtons buttons,
                            std::string_view title, QMessageBox::StandardButton press, Seen &seen)
{
    kt::window::QtMessages messages(nullptr);
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        seen = {box->windowTitle(), box->text(), box->icon(), box->textFormat(),
                box->standardButtons()};
        box->button(press)->click();
    });
    poll.start();
    return messages.show(text, icon, buttons, title);
}

TEST(MessageBoxes, CarryTheDefaultTitleThePlainTextAndTheAskedIcon)
{
    struct Row {
        MessageIcon icon;
        QMessageBox::Icon shown;
    };
    for (const Row &r : {Row{MessageIcon::Critical, QMessageBox::Critical},
                         Row{MessageIcon::Information, QMessageBox::Information},
                         Row{MessageIcon::None, QMessageBox::NoIcon}}) {
        Seen seen;
        const MessageAnswer answer
            = showAndAnswer("The COM3 can not OPEN !!\r\rPlease check <printer driver> !", r.icon,
                            MessageButtons::Ok, {}, QMessageBox::Ok, seen);
        EXPECT_EQ(answer, MessageAnswer::Ok);
        EXPECT_EQ(seen.title.toStdString(), "KT_SW_Utility");
        EXPECT_EQ(seen.text.toStdString(),
                  "The COM3 can not OPEN !!\n\nPlease check <printer driver> !");
        EXPECT_EQ(seen.format, Qt::PlainText);
        EXPECT_EQ(seen.icon, r.shown);
        EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    }
}

TEST(MessageBoxes, AskYesOrNoAndTakeAnOwnTitle)
{
    for (auto press : {QMessageBox::Yes, QMessageBox::No}) {
        Seen seen;
        const MessageAnswer answer = showAndAnswer("Drop the changes?", MessageIcon::Information,
                                                   MessageButtons::YesNo, "Error", press, seen);
        EXPECT_EQ(answer, press == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No);
        EXPECT_EQ(seen.title.toStdString(), "Error");
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

TEST(TextWindow, ShowsTheTextReadOnlyBesideTheWindowAndGoesWhenClosed)
{
    kt::window::QtMessages messages(nullptr);
    messages.showText("KT_SW_Help.txt", "KT_SW_Utility\r\n\r\n<HELP> opens this file");
    QWidget *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == "helpTextWindow" && w->isVisible())
            window = w;
    ASSERT_NE(window, nullptr);
    const QPointer<QWidget> watched(window);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the utility stays usable beside it";
    EXPECT_EQ(window->windowTitle().toStdString(), "KT_SW_Help.txt");
    auto *text = window->findChild<QPlainTextEdit *>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->toPlainText().toStdString(), "KT_SW_Utility\n\n<HELP> opens this file");
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
}

} // namespace
} // namespace kt::test
