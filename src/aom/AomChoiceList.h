#pragma once
// A drop-down list as the alarm tables fill it: the forms hand in a combo
// box adapter, tests a plain vector.

#include <string>
#include <vector>

class ChoiceList {
public:
    virtual ~ChoiceList() = default;
    virtual void Clear() = 0;
    virtual void Add(const std::string& text) = 0;
    virtual int Count() const = 0;
    virtual std::string Text(int index) const = 0;
    virtual void Remove(int index) = 0;
    // -1 when nothing is selected.
    virtual int Selected() const = 0;
    // -1 clears the selection; an index outside the list does too.
    virtual void Select(int index) = 0;
};

class VectorChoiceList final : public ChoiceList {
public:
    VectorChoiceList() = default;
    explicit VectorChoiceList(std::vector<std::string> items) : items_(std::move(items)) {}

    void Clear() override;
    void Add(const std::string& text) override;
    int Count() const override;
    std::string Text(int index) const override;
    void Remove(int index) override;
    int Selected() const override { return selected_; }
    void Select(int index) override;

    const std::vector<std::string>& Items() const { return items_; }
    // The selected text, empty when nothing is selected.
    std::string SelectedText() const;

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

// The first entry that starts with prefix, ignoring ASCII case, as the
// platform's list search does; -1 when none does.
int FindPrefix(const ChoiceList& list, const std::string& prefix);
// The first entry equal to text; -1 when none is.
int FindExact(const ChoiceList& list, const std::string& text);
// The selected entry's text, empty when nothing is selected.
std::string SelectedText(const ChoiceList& list);
