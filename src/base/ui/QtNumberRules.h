#pragma once
// Qt adopts the user's locale when the application object is made; under a
// comma-decimal one the C library would then read "0.50" as 0 and write 1.5
// as "1,50". Every executable with a Qt application object calls this right
// after making it: the C library and Qt's default locale go back to the "C"
// rules, so numbers have a point as decimal mark everywhere.
void UseCNumberRulesInQt();
