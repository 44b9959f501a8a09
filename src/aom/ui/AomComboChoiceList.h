#pragma once
// The alarm tables' drop-down list interface over a combo box.

#include "aom/AomChoiceList.h"

class QComboBox;

class ComboChoiceList final : public ChoiceList {
public:
    explicit ComboChoiceList(QComboBox* combo) : combo_(combo) {}

    void Clear() override;
    void Add(const std::string& text) override;
    int Count() const override;
    std::string Text(int index) const override;
    void Remove(int index) override;
    int Selected() const override;
    void Select(int index) override;

private:
    QComboBox* combo_;
};
