#include "aom/ui/AomComboChoiceList.h"

#include <QComboBox>

void ComboChoiceList::Clear()
{
    combo_->clear();
}

// A combo box selects the first item added to it, and moves the selection
// when the selected item goes; the tables expect a list to keep "nothing
// selected" in both cases, as the platform's drop-down lists do.
void ComboChoiceList::Add(const std::string& text)
{
    const bool none = combo_->currentIndex() < 0;
    combo_->addItem(QString::fromStdString(text));
    if (none) combo_->setCurrentIndex(-1);
}

int ComboChoiceList::Count() const
{
    return combo_->count();
}

std::string ComboChoiceList::Text(int index) const
{
    if (index < 0 || index >= combo_->count()) return {};
    return combo_->itemText(index).toStdString();
}

void ComboChoiceList::Remove(int index)
{
    if (index < 0 || index >= combo_->count()) return;
    const bool wasSelected = combo_->currentIndex() == index;
    combo_->removeItem(index);
    if (wasSelected) combo_->setCurrentIndex(-1);
}

int ComboChoiceList::Selected() const
{
    return combo_->currentIndex();
}

void ComboChoiceList::Select(int index)
{
    combo_->setCurrentIndex(index >= 0 && index < combo_->count() ? index : -1);
}
