#include "QtNumberRules.h"

#include "NumericText.h"

#include <QLocale>

void UseCNumberRulesInQt()
{
    UseCNumberRules();
    QLocale::setDefault(QLocale::c());
}
