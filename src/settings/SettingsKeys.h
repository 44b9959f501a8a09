#pragma once
// The keys of config.txt, named once.

namespace key {
inline constexpr const char* SerialPort = "SERIAL_PORT";
inline constexpr const char* BaudRate = "BAUD_RATE";

inline constexpr const char* IrrigationResidential = "IRRIGATION_RESIDENTIAL";
inline constexpr const char* IrrigationCycle = "IRRIGATION_CYCLE";
inline constexpr const char* IrrigationAmount = "IRRIGATION_AMOUNT";
inline constexpr const char* IrrigationMaxRain = "IRRIGATION_MAX_RAIN";
inline constexpr const char* IrrigationRainRate = "IRRIGATION_RAIN_RATE";
inline constexpr const char* IrrigationRainTotal = "IRRIGATION_RAIN_TOTAL";
inline constexpr const char* IrrigationTimeout = "IRRIGATION_TIMEOUT";
inline constexpr const char* IrrigationRainUnit = "IRRIGATION_RAIN_UNIT";
inline constexpr const char* IrrigationAlarmDuration = "IRRIGATION_ALARM_DURATION";
inline constexpr const char* IrrigationAlarmDelay = "IRRIGATION_ALARM_DELAY";
inline constexpr const char* IrrigationPulseWidth = "IRRIGATION_PULSE_WIDTH";
inline constexpr const char* IrrigationContinuousPulse = "IRRIGATION_CONTINUOUS_PULSE";
inline constexpr const char* IrrigationOpenCircuit = "IRRIGATION_OPEN_CIRCUIT";

inline constexpr const char* AomAlarmDuration = "AOM_ALARM_DURATION";
inline constexpr const char* AomAlarmDelay = "AOM_ALARM_DELAY";
inline constexpr const char* AomAlarmPulseWidth = "AOM_ALARM_PULSE_WIDTH";
inline constexpr const char* AomContinuousPulse = "AOM_CONTINOUS_PULSE";  // sic: stored files spell it so
inline constexpr const char* AomOpenCircuit = "AOM_OPEN_CIRCUIT";
inline constexpr const char* AomTempUnit = "AOM_TEMP_UNIT";
inline constexpr const char* AomBarUnit = "AOM_BAR_UNIT";
inline constexpr const char* AomWindUnit = "AOM_WIND_UNIT";
inline constexpr const char* AomRainUnit = "AOM_RAIN_UNIT";
inline constexpr const char* AomStationConfig = "AOM_STATION_CONFIG";
inline constexpr const char* AomFirstUse = "AOM_FIRST_USE";

inline constexpr const char* WorkingDirectory = "WORKING_DIRECTORY";
// The folder of the last file the user saved or opened from the window,
// offered again.
inline constexpr const char* LastSaveFolder = "LAST_SAVE_FOLDER";

// Serial devices behind "COM1".."COM8" and the read time-out of the link.
inline constexpr const char* ComDeviceFormat = "COM%d_DEVICE";
inline constexpr const char* LinkTimeoutMs = "LINK_TIMEOUT_MS";
}  // namespace key
