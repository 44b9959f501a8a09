#pragma once
// The conditions page's lists and fields as the page reads and sets them,
// shared by its building and loading and by the rules that tie its rows.
#include "aom/AlarmParameterTable.h"
#include "aom/AomConditionRows.h"
#include "aom/ui/AomComboChoiceList.h"
#include "base/ui/CNumericEdit.h"

#include <QComboBox>

#include <string>

namespace conditions_page {

inline constexpr const char* kOperators[] = {kGroupingDone, kGroupingOr, kGroupingAnd, kGroupingXor};

inline std::string Selected(const QComboBox* list)
{
    return list && list->currentIndex() >= 0 ? list->currentText().toStdString() : std::string();
}

inline void SelectText(QComboBox* list, const std::string& text)
{
    list->setCurrentIndex(text.empty() ? -1 : list->findText(QString::fromStdString(text)));
}

// Parameter and check-type lists carry their codes as item data, so the
// page never decides by the text it shows: a parameter's table code, a
// check type's number.
inline void TagParameters(QComboBox* list)
{
    for (int i = 0; i < list->count(); ++i) {
        const AlarmParameter* p = AlarmParameters().ByName(list->itemText(i).toStdString());
        list->setItemData(i, p ? p->code : kNoParameter);
    }
}

inline void TagChecks(QComboBox* list)
{
    for (int i = 0; i < list->count(); ++i)
        list->setItemData(i, CheckTypeFromText(list->itemText(i).toStdString()));
}

// The selected entry's code; -1 (no parameter, no check type) when none.
inline int ItemCode(const QComboBox* list)
{
    if (!list || list->currentIndex() < 0) return -1;
    return list->currentData().toInt();
}

inline void SelectCode(QComboBox* list, int code)
{
    list->setCurrentIndex(code < 0 ? -1 : list->findData(code));
}

inline int TableCodeOf(const std::string& name)
{
    const AlarmParameter* p = AlarmParameters().ByName(name);
    return p ? p->code : kNoParameter;
}

inline void FillParameters(QComboBox* combo, MinusGroup group = MinusNone)
{
    ComboChoiceList parameters(combo);
    if (group == MinusNone)
        FillParameterList(parameters);
    else
        FillParameterList(parameters, group);
    TagParameters(combo);
}

inline std::string Text(const CNumericEdit* field)
{
    return field->text().toStdString();
}

inline void SetText(CNumericEdit* field, const std::string& text)
{
    field->setText(QString::fromStdString(text));
}

}  // namespace conditions_page
