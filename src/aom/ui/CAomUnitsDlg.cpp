#include "aom/ui/CAomUnitsDlg.h"

#include "base/ui/FormSupport.h"

#include "aom/AomUnits.h"
#include "settings/DBConfigParser.h"
#include "settings/SettingsKeys.h"
#include "settings/ShowTextFile.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <optional>

namespace {

struct UnitChoice {
    const char* caption;
    UnitCode code;
};

struct UnitGroup {
    const char* title;
    const char* key;
    // A stored value outside the list shows the first choice.
    std::vector<UnitChoice> choices;
    // Stored when no choice is checked; nothing is stored without one.
    std::optional<UnitCode> whenNoneChecked;
};

const std::vector<UnitGroup>& UnitGroups()
{
    static const std::vector<UnitGroup> groups = {
        {"Temperature", key::AomTempUnit, {{"\u00b0F", UnitFahrenheit}, {"\u00b0C", UnitCelsius}},
         UnitCelsius},
        {"Barometer",
         key::AomBarUnit,
         {{"in", UnitInch}, {"mm", UnitMillimetre}, {"mb", UnitMillibar}, {"hPa", UnitHectopascal}},
         std::nullopt},
        {"Wind Speed",
         key::AomWindUnit,
         {{"mph", UnitMph}, {"knot", UnitKnots}, {"km/h", UnitKph}, {"m/s", UnitMetresPerSecond}},
         std::nullopt},
        {"Rain", key::AomRainUnit, {{"in", UnitInch}, {"mm", UnitMillimetre}}, UnitMillimetre},
    };
    return groups;
}

}  // namespace

CAomUnitsDlg::CAomUnitsDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Choose Units");
    auto* groupsRow = new QHBoxLayout;
    for (const UnitGroup& group : UnitGroups()) {
        auto* box = new QGroupBox(group.title, this);
        auto* column = new QVBoxLayout(box);
        auto* exclusive = new QButtonGroup(box);
        const int stored = Settings().GetInt(group.key);
        std::vector<QRadioButton*> radios;
        for (const UnitChoice& choice : group.choices) {
            auto* radio = new QRadioButton(QString::fromUtf8(choice.caption), box);
            exclusive->addButton(radio);
            column->addWidget(radio);
            radio->setChecked(stored == choice.code);
            radios.push_back(radio);
        }
        if (!exclusive->checkedButton()) radios.front()->setChecked(true);
        column->addStretch();
        groupsRow->addWidget(box);
        radios_.push_back(std::move(radios));
    }

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    auto* help = new QPushButton("Help", this);
    QHBoxLayout* buttons = ButtonRow({ok, cancel, help});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groupsRow);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CAomUnitsDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &CAomUnitsDlg::OnHelp);
}

void CAomUnitsDlg::OnOK()
{
    const std::vector<UnitGroup>& groups = UnitGroups();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        std::optional<UnitCode> code = groups[g].whenNoneChecked;
        for (std::size_t c = 0; c < groups[g].choices.size(); ++c)
            if (radios_[g][c]->isChecked()) code = groups[g].choices[c].code;
        if (code) Settings().SetValue(groups[g].key, static_cast<int>(*code));
    }
    LoadAomUnitSettings();
    accept();
}

void CAomUnitsDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}
