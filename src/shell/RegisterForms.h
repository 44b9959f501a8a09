#pragma once
// Registers every logger kind's configuration form with the core records.
void RegisterAllForms();
