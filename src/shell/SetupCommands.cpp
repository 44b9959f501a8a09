#include "SetupCommands.h"

// Filled in as the port form and the logger detection arrive.
void SetupCommPort(QWidget*) {}
void ConfigureLogger(QWidget*) {}
