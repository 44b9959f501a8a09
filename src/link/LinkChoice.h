#pragma once
// The port and speed the link is opened with: SERIAL_PORT and BAUD_RATE of
// the settings, unless a run gave its own (corvane-cli's --port and --baud).
// A run's own values live only in memory, so config.txt never holds them,
// however the run ends.

// 0 leaves the settings' value in force. Returns nothing; set both again to
// change one.
void SetLinkChoiceOverride(int port, int baud);
int ChosenPort();
int ChosenBaud();
