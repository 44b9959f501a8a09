#include "aom/ui/CAomStationConfigDlg.h"

#include "aom/AomStation.h"
#include "settings/DBConfigParser.h"
#include "base/ui/FormSupport.h"
#include "settings/SettingsKeys.h"
#include "settings/ShowTextFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The model's row is its number in the stored value.
constexpr const char* kModels[] = {"Tarrow", "Tarrow Plus"};

struct Accessory {
    const char* caption;
    int code;    // the parameter's table code
    int column;  // place in the form's grid
    int row;
};

// In the order the codes are written to AOM_STATION_CONFIG.
constexpr Accessory kAccessories[] = {
    {"UV", 23, 0, 1},
    {"Temp 1", 24, 1, 0},
    {"Temp 2", 25, 1, 1},
    {"Temp 3", 26, 1, 2},
    {"Temp 4", 27, 1, 3},
    {"Temp 5", 28, 1, 4},
    {"Temp 6", 29, 1, 5},
    {"Temp 7", 30, 1, 6},
    {"Temp 8", 1000, 1, 7},
    {"Solar Radiation", 22, 0, 0},
    {"Soil Temperature 1", 46, 3, 4},
    {"Soil Temperature 2", 47, 3, 5},
    {"Soil Temperature 3", 48, 3, 6},
    {"Soil Temperature 4", 49, 3, 7},
    {"Soil Moisture 1", 40, 3, 0},
    {"Soil Moisture 2", 41, 3, 1},
    {"Soil Moisture 3", 42, 3, 2},
    {"Soil Moisture 4", 43, 3, 3},
    {"Leaf Wetness 1", 38, 0, 2},
    {"Leaf Wetness 2", 39, 0, 3},
    {"Leaf Temperature 1", 44, 0, 4},
    {"Leaf Temperature 2", 45, 0, 5},
    {"Humidity 1", 31, 2, 0},
    {"Humidity 2", 32, 2, 1},
    {"Humidity 3", 33, 2, 2},
    {"Humidity 4", 34, 2, 3},
    {"Humidity 5", 35, 2, 4},
    {"Humidity 6", 36, 2, 5},
    {"Humidity 7", 37, 2, 6},
    {"Humidity 8", 1001, 2, 7},
};

constexpr int kNoModel = -1;

}  // namespace

CAomStationConfigDlg::CAomStationConfigDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Station Configuration");

    auto* modelCaption = new QLabel("Model:", this);
    model_ = new QComboBox(this);
    for (const char* model : kModels) model_->addItem(model);
    BindCaption(modelCaption, model_);
    auto* modelRow = new QHBoxLayout;
    modelRow->addWidget(modelCaption);
    modelRow->addWidget(model_);
    modelRow->addStretch();

    auto* accessories = new QGroupBox("Accessories", this);
    auto* grid = new QGridLayout(accessories);
    for (const Accessory& accessory : kAccessories) {
        auto* box = new QCheckBox(accessory.caption, accessories);
        box->setEnabled(false);
        grid->addWidget(box, accessory.row, accessory.column);
        boxes_.push_back(box);
    }

    const StationConfig stored = ParseStationConfig(Settings().GetValue(key::AomStationConfig));
    const int models = static_cast<int>(std::size(kModels));
    model_->setCurrentIndex(stored.model >= 0 && stored.model < models ? stored.model : kNoModel);
    OnModelChanged(model_->currentIndex());
    for (int code : stored.codes)
        for (std::size_t i = 0; i < boxes_.size(); ++i)
            if (kAccessories[i].code == code) boxes_[i]->setChecked(true);

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    auto* help = new QPushButton("Help", this);
    QHBoxLayout* buttons = ButtonRow({ok, cancel, help});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modelRow);
    layout->addWidget(accessories);
    layout->addLayout(buttons);

    connect(model_, &QComboBox::currentIndexChanged, this, &CAomStationConfigDlg::OnModelChanged);
    connect(ok, &QPushButton::clicked, this, &CAomStationConfigDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &CAomStationConfigDlg::OnHelp);
}

void CAomStationConfigDlg::OnModelChanged(int index)
{
    // Both models take the same accessories; only a missing model blocks them.
    if (index == kNoModel) return;
    for (QCheckBox* box : boxes_) box->setEnabled(true);
}

void CAomStationConfigDlg::OnOK()
{
    std::vector<int> codes;
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i]->isEnabled() && boxes_[i]->isChecked()) codes.push_back(kAccessories[i].code);
    Settings().SetValue(key::AomStationConfig, FormatStationConfig(model_->currentIndex(), codes));
    accept();
}

void CAomStationConfigDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}
