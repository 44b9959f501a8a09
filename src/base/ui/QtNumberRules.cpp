#include "base/ui/QtNumberRules.h"

#include "base/NumericText.h"

#include <QLocale>

void UseCNumberRulesInQt()
{
    UseCNumberRules();
    QLocale::setDefault(QLocale::c());
}
