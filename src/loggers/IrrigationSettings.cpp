#include "loggers/IrrigationSettings.h"

#include "settings/DBConfigParser.h"
#include "settings/SettingsKeys.h"

CIrrigationSettings::CIrrigationSettings(
    OwnerWindow owner, std::string identification, std::string timeout, bool residential,
    std::string cycle, std::string parameter9, std::string amount, std::string maxDailyRain,
    std::string maxRainTotal, std::string rainRateCutoff, std::string alarmDuration,
    std::string alarmReactivation, std::string pulseWidth, bool continuous, bool normallyOpen)
    : CLoggerSettings(LoggerIrrigation, owner, std::move(identification), std::move(timeout)),
      residential(residential), cycle(std::move(cycle)), parameter9(std::move(parameter9)),
      amount(std::move(amount)), maxDailyRain(std::move(maxDailyRain)),
      maxRainTotal(std::move(maxRainTotal)), rainRateCutoff(std::move(rainRateCutoff)),
      alarmDuration(std::move(alarmDuration)), alarmReactivation(std::move(alarmReactivation)),
      pulseWidth(std::move(pulseWidth)), continuous(continuous), normallyOpen(normallyOpen),
      rainUnit(Settings().GetInt(key::IrrigationRainUnit))
{
}
