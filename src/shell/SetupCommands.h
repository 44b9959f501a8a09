#pragma once
class QWidget;

// The bodies of the two Setup commands, run by the view's handlers.
void SetupCommPort(QWidget* owner);
void ConfigureLogger(QWidget* owner);
