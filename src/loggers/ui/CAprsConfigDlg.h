#pragma once
#include "AprsConfig.h"

#include <QDialog>

class CLoggerSettings;
class CNumericEdit;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// "APRS Configuration": time-out, APRS baud, transmission rate and the
// station's position, split into degrees, minutes and seconds, with the
// position text previewed as the logger will receive it.
class CAprsConfigDlg : public QDialog {
    Q_OBJECT
public:
    CAprsConfigDlg(QWidget* parent, CAprsSettings& settings);

    static constexpr const char* kInvalidTimeout =
        "Invalid Timeout Period! Must be between 5 and 999 sec.";
    static constexpr const char* kInvalidBaud = "Invalid APRS Baud";
    static constexpr const char* kInvalidRate =
        "Invalid Transmission Rate! Must be between 1 and 99 minutes.";
    static constexpr const char* kInvalidLatDeg = "Invalid Lat Deg! Must be between 0 and 90";
    static constexpr const char* kInvalidLatMin = "Invalid Lat Min! Must be between 0 and 59";
    static constexpr const char* kInvalidLatSec = "Invalid Lat Sec! Must be between 0 and 59";
    static constexpr const char* kInvalidLonDeg = "Invalid Lon Deg! Must be between 0 and 180";
    static constexpr const char* kInvalidLonMin = "Invalid Lon Min! Must be between 0 and 59";
    static constexpr const char* kInvalidLonSec = "Invalid Lon Sec! Must be between 0 and 59";
    // Without a hemisphere the position would go out as "invalid string".
    static constexpr const char* kNoLatHemisphere =
        "Please select North or South for the latitude.";
    static constexpr const char* kNoLonHemisphere =
        "Please select East or West for the longitude.";

private slots:
    void RebuildPreview();
    void OnDefault();
    void OnOK();
    void OnHelp();

private:
    struct CoordinateFields {
        CNumericEdit* degrees;
        CNumericEdit* minutes;
        CNumericEdit* seconds;
        QRadioButton* first;   // North or East
        QRadioButton* second;  // South or West
    };

    QWidget* MakeCoordinate(const QString& title, CoordinateFields& fields,
                            const QString& first, const QString& second);
    void LoadCoordinate(const AprsCoordinate& value, CoordinateFields& fields);
    static AprsCoordinate Read(const CoordinateFields& fields);
    void SelectBaud(const std::string& baud);
    void Refuse(const char* message, QWidget* field);

    CAprsSettings& settings_;
    CNumericEdit* timeout_;
    QComboBox* baud_;
    CNumericEdit* rate_;
    CoordinateFields lat_{};
    CoordinateFields lon_{};
    QLineEdit* latPreview_;
    QLineEdit* lonPreview_;
};

// The APRS kind's Configure: runs the form over the record's owner.
void RunAprsConfigForm(CLoggerSettings& record);
