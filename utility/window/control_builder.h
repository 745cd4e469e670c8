// Builds the window's controls: each widget gets its control name as
// objectName and its place from twips (15 twips to a pixel), relative to
// its container.
#pragma once

#include <string_view>

#include <QFont>
#include <QString>
#include <QStringList>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kt::window {

struct Twips {
    int left, top, width, height;
};

inline constexpr int kTwipsPerPixel = 15;

class ControlBuilder {
public:
    // topOffset: twips of the container's top that the container itself
    // takes (the tab row of the tab control), subtracted from every top.
    explicit ControlBuilder(QWidget *container, int topOffset = 0)
        : container_(container), topOffset_(topOffset)
    { }

    QWidget *container() const { return container_; }
    ControlBuilder into(QWidget *container) const { return ControlBuilder(container); }

    QLabel *label(std::string_view name, const QString &caption, Twips at, const QFont &font) const;
    // A frame with a border, captioned or not.
    QGroupBox *frame(std::string_view name, const QString &caption, Twips at) const;
    // A frame that only groups its options: no border, no caption.
    QFrame *plainFrame(std::string_view name, Twips at) const;
    QRadioButton *option(std::string_view name, const QString &caption, Twips at) const;
    QPushButton *button(std::string_view name, const QString &caption, Twips at) const;
    QComboBox *combo(std::string_view name, Twips at, const QStringList &items, bool editable,
                     const QFont &font) const;
    QLineEdit *textBox(std::string_view name, const QString &text, Twips at,
                       const QFont &font) const;

    void place(QWidget *widget, std::string_view name, Twips at) const;

private:
    // A widget of kind W made with (args..., container), in the font, placed.
    template <typename W, typename... Args>
    W *make(std::string_view name, Twips at, const QFont &font, Args &&...args) const;

    QWidget *container_;
    int topOffset_;
};

} // namespace kt::window
