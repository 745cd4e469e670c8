#include "window/qt_messages.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kt::window {

using session::MessageAnswer;
using session::MessageButtons;
using session::MessageIcon;

QString QtMessages::shownText(std::string_view text)
{
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

MessageAnswer QtMessages::show(std::string_view text, MessageIcon icon, MessageButtons buttons,
                               std::string_view title)
{
    QMessageBox box(parent_);
    const std::string_view shownTitle = title.empty() ? session::kDefaultMessageTitle : title;
    box.setWindowTitle(
        QString::fromLatin1(shownTitle.data(), static_cast<qsizetype>(shownTitle.size())));
    // Plain text: some messages hold "<printer driver>", which is no markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(shownText(text));
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

void QtMessages::showText(std::string_view title, std::string_view text)
{
    auto *window = new QDialog(parent_);
    window->setObjectName("helpTextWindow");
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())));
    auto *view = new QPlainTextEdit(shownText(text), window);
    view->setReadOnly(true);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    auto *layout = new QVBoxLayout(window);
    layout->addWidget(view);
    layout->addWidget(buttons);
    window->resize(720, 560);
    window->show();
}

} // namespace kt::window
