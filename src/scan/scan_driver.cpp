#include "scan/scan_driver.h"

// Placeholder until the scan engine lands.
void ScanCmd_Click(AppState&, const Callbacks&) {}
