#include "fakes.h"

namespace kt::test {

void FakeFormView::setItems(std::string_view combo, std::vector<std::string> items)
{
    at(combo).items = std::move(items);
}

void FakeFormView::setListIndex(std::string_view c, int index)
{
    Control &control = at(c);
    control.listIndex = index;
    if (index >= 0 && index < static_cast<int>(control.items.size()))
        control.text = control.items[static_cast<std::size_t>(index)];
}

std::string FakeFormView::listItem(std::string_view c, int index) const
{
    const Control &control = at(c);
    if (index < 0 || index >= static_cast<int>(control.items.size()))
        return {};
    return control.items[static_cast<std::size_t>(index)];
}

std::vector<std::string> FakeFormView::controlNames(std::string_view prefix) const
{
    std::vector<std::string> names;
    for (const auto &[name, control] : controls_)
        if (name.compare(0, prefix.size(), prefix) == 0)
            names.push_back(name);
    return names;
}

session::MessageAnswer RecordingMessages::show(std::string_view text, session::MessageIcon icon,
                                               session::MessageButtons buttons,
                                               std::string_view title)
{
    shown.push_back({std::string(text), icon, buttons, std::string(title)});
    if (buttons == session::MessageButtons::Ok)
        return session::MessageAnswer::Ok;
    if (answers.empty())
        return session::MessageAnswer::Yes;
    session::MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
}

} // namespace kt::test
