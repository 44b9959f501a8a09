#include "aom/AomChoiceList.h"

#include <cctype>

void VectorChoiceList::Clear()
{
    items_.clear();
    selected_ = -1;
}

void VectorChoiceList::Add(const std::string& text)
{
    items_.push_back(text);
}

int VectorChoiceList::Count() const
{
    return static_cast<int>(items_.size());
}

std::string VectorChoiceList::Text(int index) const
{
    if (index < 0 || index >= Count()) return {};
    return items_[static_cast<std::size_t>(index)];
}

void VectorChoiceList::Remove(int index)
{
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
}

void VectorChoiceList::Select(int index)
{
    selected_ = index >= 0 && index < Count() ? index : -1;
}

std::string VectorChoiceList::SelectedText() const
{
    return Text(selected_);
}

int FindPrefix(const ChoiceList& list, const std::string& prefix)
{
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        const std::string text = list.Text(i);
        if (text.size() < prefix.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < prefix.size() && same; ++k)
            same = std::tolower(static_cast<unsigned char>(text[k])) ==
                   std::tolower(static_cast<unsigned char>(prefix[k]));
        if (same) return i;
    }
    return -1;
}

int FindExact(const ChoiceList& list, const std::string& text)
{
    const int count = list.Count();
    for (int i = 0; i < count; ++i)
        if (list.Text(i) == text) return i;
    return -1;
}

std::string SelectedText(const ChoiceList& list)
{
    const int selected = list.Selected();
    return selected < 0 ? std::string() : list.Text(selected);
}
