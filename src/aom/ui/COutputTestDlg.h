#pragma once
// "Output Test": the four relays switched by hand.

#include <QDialog>

// Runs the test modally over parent.
void RunOutputTest(QWidget* parent);
