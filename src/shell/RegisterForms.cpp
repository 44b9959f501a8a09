#include "RegisterForms.h"

// Each kind's form registers itself here as it arrives.
void RegisterAllForms() {}
